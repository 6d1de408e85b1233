#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "app/ChooserFolders.h"
#include "host/Prompts.h"

namespace velmora::gui {

// The engine's questions plus those only the window asks. The window answers
// them with dialogs (DialogPrompts); tests answer them from a script.
class WindowPrompts : public Prompts {
 public:
  // "Stop current process ?": true for Yes.
  virtual bool ConfirmStop() = 0;
  // A save-file chooser with a title, a filter ("Text Document(*.txt)") and a
  // suggested name, in the folder last used for purpose; nothing when cancelled.
  virtual std::optional<QString> ChooseSaveFile(ChooserPurpose purpose, const QString& title,
                                                const QString& filter,
                                                const QString& suggestedName) = 0;
  // A save-file chooser that also offers types, one a filter ("Image
  // File(*.cd)"), in the folder last used for purpose: the path and the index
  // of the type chosen; nothing when cancelled.
  struct SaveFileChoice {
    QString path;
    int type = 0;
  };
  virtual std::optional<SaveFileChoice> ChooseSaveFileOfType(ChooserPurpose purpose,
                                                             const QString& title,
                                                             const QStringList& types,
                                                             const QString& suggestedName) = 0;
  // An open-file chooser, in the folder last used for purpose; nothing when
  // cancelled.
  virtual std::optional<QString> ChooseOpenFile(ChooserPurpose purpose, const QString& title,
                                                const QString& filter) = 0;
  // A file of that name exists: true to replace it.
  virtual bool ConfirmReplaceFile(const QString& path) = 0;
};

}  // namespace velmora::gui
