#include "app/CMainFrame.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QSettings>
#include <QSignalBlocker>
#include <QSplitter>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QStyle>
#include <QTimer>
#include <QTreeView>
#include <algorithm>
#include <QToolBar>

#include "app/CAboutDialog.h"
#include "app/CProgressBar.h"
#include "app/CommandTable.h"
#include "app/DataFolder.h"
#include "app/DialogPrompts.h"
#include "app/HelpWindow.h"
#include "app/KeyFilter.h"
#include "app/Languages.h"
#include "app/Resources.h"
#include "app/TextLoader.h"
#include "browse/BrowseViews.h"
#include "image/ImageCreator.h"
#include "image/ImageNaming.h"
#include "image/ImageOpener.h"
#include "image/RescueImager.h"
#include "log/CMessageLogDialog.h"
#include "log/LogSaver.h"
#include "log/MessageLogBar.h"
#include "select/SelectionCommands.h"
#include "text/StringTable.h"

namespace velmora::gui {
namespace {

constexpr int kPane0Width = 265;
constexpr int kPane1Width = 285;
constexpr int kLeftPaneWidth = 195;
// The folder tree starts wide enough for names of this many average
// characters two levels down, and never takes more than a third of the window.
constexpr int kFolderNameCharacters = 28;
constexpr int kFolderLevelsShown = 3;
constexpr int kLogBarHeight = 170;
// The pump lets events through at most this often: a scan reports an entry far
// more often than the window can usefully repaint.
constexpr qint64 kPumpIntervalMs = 40;
// Rules are also applied this often, so that flags the views change show.
constexpr int kRefreshIntervalMs = 250;

const char* PopupTitle(MenuPopup popup) {
  switch (popup) {
    case MenuPopup::kDrive: return QT_TRANSLATE_NOOP("CMainFrame", "&Drive");
    case MenuPopup::kFile: return QT_TRANSLATE_NOOP("CMainFrame", "&File");
    case MenuPopup::kTools: return QT_TRANSLATE_NOOP("CMainFrame", "&Tools");
    case MenuPopup::kView: return QT_TRANSLATE_NOOP("CMainFrame", "&View");
    case MenuPopup::kViewArrange: return QT_TRANSLATE_NOOP("CMainFrame", "Arrange");
    case MenuPopup::kViewNames: return QT_TRANSLATE_NOOP("CMainFrame", "&Names");
    case MenuPopup::kLanguage: return QT_TRANSLATE_NOOP("CMainFrame", "&Language");
    case MenuPopup::kHelp: return QT_TRANSLATE_NOOP("CMainFrame", "&Help");
  }
  return "";
}

QString Translated(const char* text) {
  return QCoreApplication::translate("CMainFrame", text);
}

// A placeholder pane until the views are put in.
QWidget* EmptyPane(const QString& name) {
  auto* pane = new QWidget;
  pane->setAccessibleName(name);
  return pane;
}

QSettings Settings() { return QSettings(SettingsOrganization(), SettingsApplication()); }

// The names choice as it is kept in the settings: the words of velmora-cli's
// --names.
constexpr std::pair<disc::NameSource, const char*> kNamesWords[] = {
    {disc::NameSource::kAuto, "auto"},
    {disc::NameSource::kRockRidge, "rockridge"},
    {disc::NameSource::kJoliet, "joliet"},
    {disc::NameSource::kPrimary, "primary"}};
const QString kNamesKey = QStringLiteral("window/names");

}  // namespace

CMainFrame::CMainFrame(platform::Machine& machine, QWidget* parent)
    : QMainWindow(parent),
      machine_(machine),
      reader_(machine),
      dialogPrompts_(std::make_unique<DialogPrompts>(this)),
      prompts_(dialogPrompts_.get()),
      scan_(reader_, state_, table_, *this) {
  InitResources();
  setObjectName(QStringLiteral("mainFrame"));
  languageIndex_ = CurrentLanguageIndex();
  setWindowTitle(LoadQText(text::kProductTitle).trimmed());
  setWindowIcon(QIcon(QStringLiteral(":/icons/disc.svg")));
  CreateSplitter();
  CreateActions();
  CreateMenus();
  CreateToolBar();
  CreateStatusBar();
  CreateDocks();
  browse_ = new BrowseViews(*this);
  selection_ = new SelectionCommands(*this);
  browse_->FollowMasks(*selection_);
  RestoreSettings();
  qApp->installEventFilter(new KeyFilter(this, state_));
  auto* refresh = new QTimer(this);
  connect(refresh, &QTimer::timeout, this, &CMainFrame::RefreshCommands);
  refresh->start(kRefreshIntervalMs);
  RefreshCommands();
}

CMainFrame::~CMainFrame() {
  // The views and their models go before the entry table they show.
  delete browse_;
  browse_ = nullptr;
  delete currentProgress_;
  // The log outlives nothing that observes it: the bar goes first.
  delete logBar_;
  logBar_ = nullptr;
}

void CMainFrame::CreateSplitter() {
  splitter_ = new QSplitter(Qt::Horizontal, this);
  splitter_->setObjectName(QStringLiteral("mainSplitter"));
  splitter_->setChildrenCollapsible(false);
  splitter_->addWidget(EmptyPane(tr("Folders")));
  splitter_->addWidget(EmptyPane(tr("Files")));
  splitter_->setStretchFactor(0, 0);
  splitter_->setStretchFactor(1, 1);
  splitter_->setSizes({kLeftPaneWidth, 100});
  setCentralWidget(splitter_);
}

void CMainFrame::SetViews(QWidget* left, QWidget* right) {
  const QList<int> sizes = splitter_->sizes();
  if (left) delete splitter_->replaceWidget(0, left);
  if (right) delete splitter_->replaceWidget(1, right);
  splitter_->setSizes(sizes);
  if (ListPane* list = GetRightPane()) {
    const QVariant style = Settings().value(QStringLiteral("window/listStyle"));
    if (style.isValid()) list->SetStyle(static_cast<ListStyle>(std::clamp(style.toInt(), 0, 3)));
    list->RestoreColumnWidths(Settings().value(QStringLiteral("window/listColumns")).toByteArray());
    list->RelabelColumns();
  }
  RefreshCommands();
}

TreePane* CMainFrame::GetLeftPane() const {
  return splitter_->count() > 0 ? dynamic_cast<TreePane*>(splitter_->widget(0)) : nullptr;
}

ListPane* CMainFrame::GetRightPane() const {
  return splitter_->count() > 1 ? dynamic_cast<ListPane*>(splitter_->widget(1)) : nullptr;
}

void CMainFrame::CreateActions() {
  auto* styles = new QActionGroup(this);
  styles->setExclusive(true);
  auto* names = new QActionGroup(this);
  names->setExclusive(true);
  for (const CommandSpec& command : Commands()) {
    auto* action = new QAction(this);
    action->setObjectName(QStringLiteral("command%1").arg(command.id));
    action->setData(command.id);
    if (*command.icon) action->setIcon(QIcon(QString::fromLatin1(command.icon)));
    QList<QKeySequence> keys;
    if (command.standardKey != QKeySequence::UnknownKey) {
      keys += QKeySequence::keyBindings(command.standardKey);
    }
    if (*command.keys) keys += QKeySequence(QString::fromLatin1(command.keys));
    action->setShortcuts(keys);
    action->setCheckable(command.checkable);
    action->setMenuRole(QAction::NoRole);
    if (command.id >= kSmallIcons && command.id <= kDetailsView) styles->addAction(action);
    if (NamesOfCommand(command.id)) names->addAction(action);
    actions_[command.id] = action;
    addAction(action);
  }
  connect(Action(kOpenDrive), &QAction::triggered, this, &CMainFrame::OnOpenDrive);
  connect(Action(kCreateImage), &QAction::triggered, this, &CMainFrame::OnCreateImage);
  connect(Action(kOpenImage), &QAction::triggered, this, &CMainFrame::OnOpenImage);
  connect(Action(kExit), &QAction::triggered, this, &QWidget::close);
  connect(Action(kStopProcess), &QAction::triggered, this, &CMainFrame::OnStopProcess);
  connect(Action(kClearLog), &QAction::triggered, this, &CMainFrame::OnClearLog);
  connect(Action(kSaveLog), &QAction::triggered, this, &CMainFrame::OnSaveLog);
  connect(Action(kHelpTopics), &QAction::triggered, this, &CMainFrame::OnHelpTopics);
  connect(Action(kAbout), &QAction::triggered, this, &CMainFrame::OnAbout);
  connect(Action(kToolbar), &QAction::triggered, this, [this] {
    toolBar_->setVisible(!toolBar_->isVisible());
    RefreshCommands();
  });
  connect(Action(kStatusBar), &QAction::triggered, this, [this] {
    statusBar()->setVisible(!statusBar()->isVisible());
    RefreshCommands();
  });
  connect(Action(kMessageLog), &QAction::triggered, this, [this] {
    if (logBar_) logBar_->setVisible(!logBar_->isVisible());
    RefreshCommands();
  });
  const std::pair<int, ListStyle> styleCommands[] = {{kLargeIcons, ListStyle::kLargeIcons},
                                                     {kSmallIcons, ListStyle::kSmallIcons},
                                                     {kListView, ListStyle::kList},
                                                     {kDetailsView, ListStyle::kDetails}};
  for (const auto& [id, style] : styleCommands) {
    connect(Action(id), &QAction::triggered, this, [this, style = style] { SetListStyle(style); });
  }
  for (int id : {kNamesAuto, kNamesRockRidge, kNamesJoliet, kNamesPrimary}) {
    connect(Action(id), &QAction::triggered, this,
            [this, names = *NamesOfCommand(id)] { SetNameSource(names); });
  }
  for (std::uint32_t k = 0; k < kLanguageCount; ++k) {
    connect(Action(kEnglish + static_cast<int>(k)), &QAction::triggered, this,
            [this, k] { SwitchLanguage(k); });
  }
  // Every command may change a flag: the rules run again after each.
  for (const auto& [id, action] : actions_) {
    connect(action, &QAction::triggered, this, &CMainFrame::RefreshCommands, Qt::QueuedConnection);
  }
}

void CMainFrame::CreateMenus() {
  for (MenuPopup popup : {MenuPopup::kDrive, MenuPopup::kFile, MenuPopup::kTools, MenuPopup::kView,
                          MenuPopup::kLanguage, MenuPopup::kHelp}) {
    QMenu* menu = menuBar()->addMenu(QString());
    menus_[static_cast<int>(popup)] = menu;
    connect(menu, &QMenu::aboutToShow, this, &CMainFrame::RefreshCommands);
  }
  for (const CommandSpec& command : Commands()) {
    // Arrange and Names are submenus of View, each after a separator.
    const bool viewSubmenu =
        command.popup == MenuPopup::kViewArrange || command.popup == MenuPopup::kViewNames;
    if (viewSubmenu && !menus_.count(static_cast<int>(command.popup))) {
      QMenu* view = menus_[static_cast<int>(MenuPopup::kView)];
      view->addSeparator();
      menus_[static_cast<int>(command.popup)] = view->addMenu(QString());
    }
    QMenu* menu = menus_[static_cast<int>(command.popup)];
    if (command.separatorBefore && !menu->isEmpty()) menu->addSeparator();
    menu->addAction(Action(command.id));
  }
  RetranslateUi();
}

void CMainFrame::CreateToolBar() {
  toolBar_ = addToolBar(QString());
  toolBar_->setObjectName(QStringLiteral("mainToolBar"));
  toolBar_->setIconSize(QSize(32, 32));
  toolBar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
  for (int id : ToolbarLayout()) {
    if (id == 0) {
      toolBar_->addSeparator();
      continue;
    }
    QAction* command = Action(id);
    auto* button = new QAction(command->icon(), QString(), this);
    button->setObjectName(QStringLiteral("toolbar%1").arg(id));
    // The button has its own enabling rule; it runs the command's handlers
    // whatever the menu item's state.
    connect(button, &QAction::triggered, command, [command] { emit command->triggered(false); });
    toolbarActions_[id] = button;
    toolBar_->addAction(button);
  }
  RetranslateUi();
}

void CMainFrame::CreateStatusBar() {
  QStatusBar* bar = statusBar();
  bar->setObjectName(QStringLiteral("statusBar"));
  bar->setSizeGripEnabled(true);
  const int widths[] = {kPane0Width, kPane1Width, 0, 0};
  for (int index = 0; index < 4; ++index) {
    auto* pane = new QLabel(bar);
    pane->setObjectName(QStringLiteral("statusPane%1").arg(index));
    pane->setFrameShape(QFrame::Panel);
    pane->setFrameShadow(QFrame::Sunken);
    // Pane 0 keeps its width for the progress indicator; the totals pane
    // grows past its width when a language's words need more room.
    if (index == 0) pane->setFixedWidth(widths[index]);
    if (index == 1) pane->setMinimumWidth(widths[index]);
    panes_[index] = pane;
  }
  panes_[0]->setText(QStringLiteral(" "));
  panes_[1]->setText(LoadQText(text::kDiscTotalsInitial));
  panes_[2]->setText(LoadQText(text::kMarkedTotalsInitial));
  panes_[3]->setText(QStringLiteral("SCRL"));
  // The Scroll Lock state is not known to the program: the indicator is shown
  // in its off look.
  panes_[3]->setEnabled(false);
  bar->addWidget(panes_[0]);
  bar->addWidget(panes_[1]);
  bar->addWidget(panes_[2], 1);
  bar->addPermanentWidget(panes_[3]);
  RetranslateUi();
}

void CMainFrame::CreateDocks() {
  logBar_ = new MessageLogBar(log_, this);
  logBar_->setWindowTitle(tr("Message Log"));
  addDockWidget(Qt::BottomDockWidgetArea, logBar_);
  resizeDocks({logBar_}, {kLogBarHeight}, Qt::Vertical);
  connect(logBar_, &QDockWidget::visibilityChanged, this, &CMainFrame::RefreshCommands);
}

CMessageLogDialog* CMainFrame::logDialog() const { return logBar_ ? logBar_->dialog() : nullptr; }

void CMainFrame::SetPrompts(WindowPrompts* prompts) {
  prompts_ = prompts ? prompts : dialogPrompts_.get();
}

QAction* CMainFrame::Action(int id) const {
  auto it = actions_.find(id);
  return it == actions_.end() ? nullptr : it->second;
}

QAction* CMainFrame::ToolbarAction(int id) const {
  auto it = toolbarActions_.find(id);
  return it == toolbarActions_.end() ? nullptr : it->second;
}

QLabel* CMainFrame::StatusPane(int index) const {
  return index >= 0 && index < 4 ? panes_[index] : nullptr;
}

CProgressBar* CMainFrame::currentProgress() const { return currentProgress_; }

void CMainFrame::SetDiscTotalsText(const QString& text) { panes_[1]->setText(text); }
void CMainFrame::SetMarkedTotalsText(const QString& text) { panes_[2]->setText(text); }

WindowFacts CMainFrame::CurrentFacts() const {
  WindowFacts facts;
  facts.languageIndex = languageIndex_;
  const TreePane* tree = GetLeftPane();
  facts.selectionNotRoot = tree ? tree->SelectionNotRoot() : state_.selectionNotRoot;
  const ListPane* list = GetRightPane();
  facts.rightPaneExists = list != nullptr;
  if (state_.treeComplete && !table_.empty()) facts.namesCarried = scan_.counters().namesCarried;
  if (list) facts.listStyle = list->Style();
  facts.toolbarVisible = toolBar_ && !toolBar_->isHidden();
  facts.statusBarVisible = !statusBar()->isHidden();
  facts.logVisible = logBar_ && !logBar_->isHidden();
  return facts;
}

CommandStates CMainFrame::CurrentCommandStates() const {
  return EvaluateCommands(state_, CurrentFacts());
}

void CMainFrame::RefreshCommands() {
  const CommandStates states = CurrentCommandStates();
  for (const auto& [id, commandState] : states) {
    if (QAction* action = Action(id)) {
      action->setEnabled(commandState.menuEnabled);
      if (action->isCheckable() && action->isChecked() != commandState.checked) {
        const QSignalBlocker blocker(action);
        action->setChecked(commandState.checked);
      }
    }
    if (QAction* button = ToolbarAction(id)) button->setEnabled(commandState.toolbarEnabled);
  }
}

void CMainFrame::RetranslateUi() {
  for (const auto& [popup, menu] : menus_) {
    menu->setTitle(Translated(PopupTitle(static_cast<MenuPopup>(popup))));
  }
  for (const CommandSpec& command : Commands()) {
    QAction* action = Action(command.id);
    if (!action) continue;
    action->setText(Translated(command.menuText));
    action->setStatusTip(Translated(command.prompt));
    if (QAction* button = ToolbarAction(command.id)) {
      const QString tip = Translated(*command.toolTip ? command.toolTip : command.prompt);
      button->setText(tip);
      button->setToolTip(tip);
      button->setStatusTip(Translated(command.prompt));
    }
  }
  if (toolBar_) toolBar_->setWindowTitle(tr("Toolbar"));
  if (panes_[0]) {
    // The panes' names are their texts, which a screen reader speaks; what
    // each pane is for is its description.
    panes_[0]->setAccessibleDescription(tr("Prompt and progress"));
    panes_[1]->setAccessibleDescription(tr("Disc totals"));
    panes_[2]->setAccessibleDescription(tr("Marked totals"));
    panes_[3]->setAccessibleDescription(tr("Scroll Lock"));
  }
  if (logBar_) {
    logBar_->setWindowTitle(tr("Message Log"));
    logBar_->dialog()->RelabelLogColumns();
  }
}

bool CMainFrame::SwitchLanguage(std::uint32_t index) {
  const bool loaded = InstallLanguage(index);
  // A missing translation leaves English shown, and English is the language
  // the menu then greys.
  languageIndex_ = CurrentLanguageIndex();
  RetranslateUi();
  if (ListPane* list = GetRightPane()) list->RelabelColumns();
  if (loaded) Settings().setValue(QStringLiteral("LANG"), index);
  emit LanguageChanged();
  RefreshCommands();
  return loaded;
}

void CMainFrame::SetNameSource(disc::NameSource names) {
  if (processDepth_ > 0 || !CurrentCommandStates()[NamesCommand(names)].menuEnabled) {
    RefreshCommands();
    return;
  }
  const bool changed = state_.nameSource != names;
  state_.nameSource = names;
  for (const auto& [source, word] : kNamesWords) {
    if (source == names) Settings().setValue(kNamesKey, QString::fromLatin1(word));
  }
  // The tree shown is read again at once with the names chosen, as the next
  // Open Drive would read it: a choice that only showed later would leave the
  // tree and the checked item telling different stories. The medium is the
  // one the tree came from, without the Insert CDROM question.
  if (changed && state_.treeComplete && !table_.empty()) {
    RunProcess([this] { scan_.Rescan(); });
    emit ScanFinished();
  }
  RefreshCommands();
}

void CMainFrame::SetListStyle(ListStyle style) {
  if (ListPane* list = GetRightPane()) list->SetStyle(style);
  RefreshCommands();
}

void CMainFrame::ShowPrompt(const QString& text) {
  // The prompt pane belongs to the progress indicator while one runs.
  if (currentProgress_) return;
  // A prompt longer than the pane ends in an ellipsis; the whole text is its
  // tooltip and what a screen reader reads.
  QLabel* pane = panes_[0];
  const int margin = pane->frameWidth() + pane->margin() + pane->indent() + 4;
  const int room = std::max(0, pane->width() - 2 * margin);
  pane->setText(text.isEmpty() ? QStringLiteral(" ")
                               : pane->fontMetrics().elidedText(text, Qt::ElideRight, room));
  pane->setToolTip(text);
  pane->setAccessibleName(text);
}

bool CMainFrame::event(QEvent* event) {
  if (event->type() == QEvent::StatusTip) {
    ShowPrompt(static_cast<QStatusTipEvent*>(event)->tip());
    return true;
  }
  // Help is reached only through Help Topics.
  if (event->type() == QEvent::WhatsThis || event->type() == QEvent::QueryWhatsThis) return true;
  return QMainWindow::event(event);
}

// ---- the engine's host ----

void CMainFrame::PumpPendingMessages() {
  if (pumpClock_.isValid() && pumpClock_.elapsed() < kPumpIntervalMs) return;
  pumpClock_.restart();
  ShowPendingProgress();
  RefreshCommands();
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

bool CMainFrame::AnswerDuringSlowCall() {
  if (processDepth_ == 0) return false;
  ShowPendingProgress();
  RefreshCommands();
  return true;
}

void CMainFrame::CreateReadingProgress(std::uint32_t range) {
  delete currentProgress_;
  const int upper = static_cast<int>(std::min<std::uint32_t>(range, INT32_MAX));
  currentProgress_ = new CProgressBar(panes_[0], 0, LoadQText(text::kReadingLabel), 100, upper, true);
  currentProgress_->show();
  pendingSteps_ = 0;
  // A recovery and an image tell their bytes (CountBytes), a rescue its own.
  figures_ = {};
  bytesDone_ = 0;
}

void CMainFrame::StepProgress(std::u16string_view text) {
  if (!currentProgress_) return;
  pendingProgressText_.assign(text);
  ++pendingSteps_;
  // Any event loop that runs before the next pump (a message box the process
  // shows) paints the indicator up to date too.
  if (!progressShowQueued_) {
    progressShowQueued_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
          progressShowQueued_ = false;
          ShowPendingProgress();
        },
        Qt::QueuedConnection);
  }
}

void CMainFrame::ShowPendingProgress() {
  if (!currentProgress_) return;
  if (pendingSteps_ > 0) {
    currentProgress_->SetText(QString::fromStdU16String(pendingProgressText_));
    currentProgress_->StepIt(pendingSteps_);
    pendingSteps_ = 0;
  }
  // A large file moves the bytes between two steps.
  if (figures_.started()) {
    currentProgress_->SetFigures(
        QString::fromStdU16String(figures_.Text(bytesDone_, disc::ByteProgress::Clock::now())));
  }
}

void CMainFrame::CountBytes(std::uint64_t done, std::uint64_t total) {
  if (!figures_.started()) figures_.Start(total, disc::ByteProgress::Clock::now(), done);
  bytesDone_ = done;
}

void CMainFrame::DeleteProgress() {
  delete currentProgress_;
  currentProgress_ = nullptr;
  pendingSteps_ = 0;
}

void CMainFrame::AddLogEntry(std::u16string_view activity, std::u16string_view text,
                             std::u16string_view status, log::LogIcon icon) {
  log_.Add(activity, text, status, icon);
}

void CMainFrame::ShowRoot(bool collapseFirst) {
  if (TreePane* tree = GetLeftPane()) tree->ShowRoot(collapseFirst);
}

void CMainFrame::CollapseTopLevel() {
  if (TreePane* tree = GetLeftPane()) tree->CollapseTopLevel();
}

// ---- long processes ----

void CMainFrame::RunProcess(const std::function<void()>& process) {
  ++processDepth_;
  // The process's first step lets events through (a Stop, a repaint) however
  // recently the process before it did: a short one would end unseen.
  pumpClock_.invalidate();
  RefreshCommands();
  process();
  --processDepth_;
  // Whatever the process left of its indicator goes with it.
  if (processDepth_ == 0 && currentProgress_ && !state_.processRunning) DeleteProgress();
  RefreshCommands();
  if (processDepth_ == 0 && closePending_) {
    closePending_ = false;
    QTimer::singleShot(0, this, &QWidget::close);
  }
}

void CMainFrame::OnOpenDrive() {
  if (processDepth_ > 0) return;
  RunProcess([this] { scan_.OnOpenDrive(); });
  emit ScanFinished();
}

void CMainFrame::OnCreateImage() {
  if (processDepth_ > 0) return;
  // The copy reads the selected drive: find the drives (and ask which one,
  // when there are several) unless a scan has done so.
  if (!state_.drivesKnown && !state_.readingImage) {
    reader_.OpenSelectedDrive(*prompts_, state_);
    state_.drivesKnown = true;
  }
  // The second type of the save dialog copies as a rescue tool does.
  const std::optional<WindowPrompts::SaveFileChoice> chosen = prompts_->ChooseSaveFileOfType(
      ChooserPurpose::kSaveImage, LoadQText(text::kSaveImageTitle),
      {LoadQText(text::kSaveImageFilter), LoadQText(text::kRescueImageFilter)},
      QString::fromStdU16String(disc::SuggestedImageName()));
  if (!chosen) return;
  const std::string path = QFile::encodeName(chosen->path).toStdString();
  RunProcess([this, &chosen, &path] {
    if (chosen->type == 1) {
      RescueImage(path);
      return;
    }
    disc::ImageCreator creator(reader_, state_, table_, scan_, *this);
    creator.CreateImage(path);
  });
}

void CMainFrame::RescueImage(const std::string& path) {
  disc::RescueImager imager(reader_, state_, table_, scan_, *this);
  // The indicator counts the sectors rescued; its label gives the pass, its
  // figures the bytes rescued. Past the copying passes the bytes left are what
  // did not read, not the work left: no time left is shown for them.
  int figuresPass = -1;
  QPointer<CProgressBar> figuresBar;
  imager.SetProgressShown([this, &figuresPass, &figuresBar](const disc::RescueProgress& progress) {
    if (!currentProgress_) return;
    const auto now = disc::ByteProgress::Clock::now();
    // Counted from the start of each pass, on each indicator the rescue makes.
    if (progress.passNumber != figuresPass || figuresBar != currentProgress_) {
      figuresPass = progress.passNumber;
      figuresBar = currentProgress_;
      figures_.Start(progress.domain, now, progress.rescued);
      figures_.SetTimeLeftShown(progress.pass == disc::RescuePass::kWhatMatters ||
                                progress.pass == disc::RescuePass::kCopying);
    }
    bytesDone_ = progress.rescued;
    currentProgress_->SetText(QString::fromStdU16String(disc::RescueProgressText(progress)));
    currentProgress_->SetFigures(QString::fromStdU16String(figures_.Text(bytesDone_, now)));
    currentProgress_->setValue(static_cast<int>(
        std::min<std::uint64_t>(progress.rescued / kSectorSize, INT32_MAX)));
  });
  // The rescue scans the disc again; the files ticked before go first.
  const disc::RescueOutcome outcome = imager.Rescue(path, disc::MarkedFilesChooser(table_));
  // A rescue that could not begin (an image and map beside the path that are
  // of another disc or do not read) or could not write says why, as the
  // command line does.
  const bool failed = outcome.result == disc::RescueResult::kFailed ||
                      outcome.result == disc::RescueResult::kOtherDisc;
  if (failed && !outcome.reasonShown) {
    prompts_->ShowErrorDetail(static_cast<int>(text::ErrorCode::kCannotCreateImage), outcome.reason);
  }
}

void CMainFrame::OnOpenImage() {
  if (processDepth_ > 0) return;
  // The string table keeps the filter in the form "Image File(*.cd)|*.cd||".
  const QString filter = LoadQText(text::kOpenImageFilter).section(QLatin1Char('|'), 0, 0) +
                         QStringLiteral(";;") + tr("All files (*)");
  const std::optional<QString> path =
      prompts_->ChooseOpenFile(ChooserPurpose::kOpenImage, LoadQText(text::kOpenImageTitle), filter);
  if (!path) return;
  OpenImageFile(*path);
}

void CMainFrame::OpenImageFile(const QString& path) {
  if (processDepth_ > 0) return;
  RunProcess([this, &path] {
    disc::ImageOpener opener(reader_, machine_, state_, scan_, *this);
    opener.OnOpenImage(QFile::encodeName(path).toStdString());
  });
  emit ScanFinished();
}

void CMainFrame::OnStopProcess() {
  if (!prompts_->ConfirmStop()) return;
  StopRunningProcess();
}

void CMainFrame::OnEndRequest() {
  if (processDepth_ > 0) StopRunningProcess();
  // With the process still on the stack the close waits for it to return.
  close();
}

void CMainFrame::StopRunningProcess() {
  state_.scanInProgress = false;
  state_.recoveryRunning = false;
  state_.stopRequested = true;
  state_.busy = false;
  // The tree read so far stays usable; a scan stopped before its first entry
  // shows none.
  if (!state_.imageCreationRunning) state_.treeComplete = !table_.empty();
  state_.processRunning = false;
  // The indicator goes at once, whatever step the process is at.
  DeleteProgress();
  RefreshCommands();
}

void CMainFrame::OnClearLog() {
  if (CMessageLogDialog* dialog = logDialog()) {
    dialog->ClearLog();
  } else {
    log_.Clear();
  }
  state_.logHasEntries = false;
  RefreshCommands();
}

void CMainFrame::OnSaveLog() { SaveLog(this, *prompts_, log_); }

void CMainFrame::OnHelpTopics() {
  const QString folder = Settings().value(QStringLiteral("Path"), DataFolder()).toString();
  if (!helpWindow_) helpWindow_ = new HelpWindow(this);
  helpWindow_->ShowTopic(HelpPagePath(folder, languageIndex_));
}

void CMainFrame::OnAbout() {
  CAboutDialog dialog(this);
  dialog.exec();
}

// ---- closing and settings ----

void CMainFrame::closeEvent(QCloseEvent* event) {
  const bool running = state_.busy || state_.processRunning || state_.recoveryRunning ||
                       state_.imageCreationRunning || processDepth_ > 0;
  if (running) {
    event->ignore();
    // A process that was told to stop ends at its next step; the window closes
    // then.
    if (processDepth_ > 0 && state_.stopRequested && !state_.busy && !state_.processRunning) {
      closePending_ = true;
      return;
    }
    prompts_->ShowNotice(2);
    return;
  }
  SaveSettings();
  reader_.CloseDiscReader();
  if (helpWindow_) helpWindow_->close();
  event->accept();
}

void CMainFrame::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (splitterPlaced_) return;
  splitterPlaced_ = true;
  // The folder tree starts wide enough for typical names; the file list takes
  // the rest.
  const int total = std::max(splitter_->width(), width());
  const int left = std::min(FolderPaneStartWidth(), std::max(kLeftPaneWidth, total / 3));
  splitter_->setSizes({left, std::max(total - left, 100)});
}

void CMainFrame::KeepOnScreen() {
  // A position kept from a screen that is gone (a second monitor unplugged, a
  // smaller resolution) would open the window where nobody sees it.
  const QRect frame = frameGeometry();
  for (const QScreen* screen : QGuiApplication::screens()) {
    const QRect shown = frame.intersected(screen->availableGeometry());
    if (shown.width() >= 100 && shown.height() >= 50) return;
  }
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect available = screen->availableGeometry();
  const QSize size = geometry().size().boundedTo(available.size());
  setGeometry(QRect(available.topLeft(), size));
}

int CMainFrame::FolderPaneStartWidth() const {
  QWidget* pane = splitter_->widget(0);
  const QFontMetrics metrics = pane->fontMetrics();
  const auto* tree = qobject_cast<const QTreeView*>(pane);
  const int indent = tree ? tree->indentation() : 20;
  const int box = pane->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, pane);
  // The levels' indents, the box, the picture, the name and the margins.
  const int wanted = kFolderLevelsShown * indent + box + 16 + 24 +
                     metrics.averageCharWidth() * kFolderNameCharacters;
  return std::max(kLeftPaneWidth, wanted);
}

void CMainFrame::RestoreSettings() {
  QSettings settings = Settings();
  const QByteArray geometry = settings.value(QStringLiteral("window/geometry")).toByteArray();
  if (geometry.isEmpty() || !restoreGeometry(geometry)) {
    // First start: the whole screen, also where no window manager maximises.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
      setGeometry(screen->availableGeometry());
    }
    setWindowState(windowState() | Qt::WindowMaximized);
  }
  KeepOnScreen();
  restoreState(settings.value(QStringLiteral("window/state")).toByteArray());
  const QString names = settings.value(kNamesKey).toString();
  for (const auto& [source, word] : kNamesWords) {
    if (names == QLatin1String(word)) state_.nameSource = source;
  }
  const QByteArray split = settings.value(QStringLiteral("window/splitter")).toByteArray();
  if (!split.isEmpty()) splitterPlaced_ = splitter_->restoreState(split);
}

void CMainFrame::SaveSettings() const {
  QSettings settings = Settings();
  settings.setValue(QStringLiteral("window/geometry"), saveGeometry());
  settings.setValue(QStringLiteral("window/state"), saveState());
  settings.setValue(QStringLiteral("window/splitter"), splitter_->saveState());
  if (const ListPane* list = GetRightPane()) {
    settings.setValue(QStringLiteral("window/listStyle"), static_cast<int>(list->Style()));
    settings.setValue(QStringLiteral("window/listColumns"), list->ColumnWidths());
  }
}

}  // namespace velmora::gui
