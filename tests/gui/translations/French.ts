<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<!-- A small translation for the language tests; the program's own are in res/translations. -->
<TS version="2.1" language="fr_FR">
<context>
    <name>CMainFrame</name>
    <message>
        <source>&amp;Drive</source>
        <translation>&amp;Lecteur</translation>
    </message>
    <message>
        <source>&amp;Open Drive</source>
        <translation>&amp;Ouvrir le lecteur</translation>
    </message>
    <message>
        <source>Open Drive</source>
        <translation>Ouvrir le lecteur</translation>
    </message>
</context>
<context>
    <name>StringTable</name>
    <message>
        <source>Activity</source>
        <translation>Activité</translation>
    </message>
    <message>
        <source>Process Started</source>
        <translation>Processus démarré</translation>
    </message>
    <message>
        <source>%1: not a disc image (no image trailer and no ISO 9660 volume descriptor)</source>
        <translation>%1 : ce n’est pas une image de disque (ni bloc de fin d’image ni descripteur de volume ISO 9660)</translation>
    </message>
</context>
<context>
    <name>velmora::gui::HelpWindow</name>
    <message>
        <source>Back</source>
        <translation>Précédent</translation>
    </message>
    <message>
        <source>Forward</source>
        <translation>Suivant</translation>
    </message>
    <message>
        <source>Contents</source>
        <translation>Sommaire</translation>
    </message>
</context>
</TS>
