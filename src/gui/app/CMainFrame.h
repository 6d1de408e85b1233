#pragma once

#include <QElapsedTimer>
#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <map>
#include <memory>

#include "app/CommandRules.h"
#include "app/ViewPanes.h"
#include "app/WindowPrompts.h"
#include "disc/CCDReader.h"
#include "entries/EntryTable.h"
#include "host/AppState.h"
#include "host/ScanHost.h"
#include "log/MessageLog.h"
#include "platform/Machine.h"
#include "scan/ByteProgress.h"
#include "scan/ScanProcess.h"

class QAction;
class QLabel;
class QMenu;
class QSplitter;
class QToolBar;

namespace velmora::gui {

class BrowseViews;
class CMessageLogDialog;
class CProgressBar;
class DialogPrompts;
class HelpWindow;
class MessageLogBar;
class SelectionCommands;

// The main window: toolbar, four-pane status bar, the message-log bar and the
// splitter with the folder tree and the file list. It receives every command,
// enables each by the command rules, and hosts the engine's long processes,
// which run on this thread and let events through between their steps and
// while a drive call is slow (OffThreadMachine).
class CMainFrame : public QMainWindow, public disc::ScanHost {
  Q_OBJECT

 public:
  explicit CMainFrame(platform::Machine& machine, QWidget* parent = nullptr);
  ~CMainFrame() override;

  // The engine's state that the window and its views share.
  AppState& state() { return state_; }
  disc::CCDReader& reader() { return reader_; }
  platform::Machine& machine() { return machine_; }
  disc::EntryTable& table() { return table_; }
  disc::ScanProcess& scan() { return scan_; }
  log::MessageLog& messageLog() { return log_; }
  CMessageLogDialog* logDialog() const;
  WindowPrompts& windowPrompts() { return *prompts_; }
  // Answers every question from prompts instead of dialogs (tests); nullptr
  // restores the dialogs.
  void SetPrompts(WindowPrompts* prompts);

  // Puts the folder tree and the file list into the splitter in place of what
  // is there; the splitter owns them from then on.
  void SetViews(QWidget* left, QWidget* right);
  QSplitter* splitter() const { return splitter_; }
  // The left pane as a folder tree, the right one as a file list; nullptr when
  // the pane is something else.
  TreePane* GetLeftPane() const;
  ListPane* GetRightPane() const;
  // The folder tree and the file list with their models and marks.
  BrowseViews& browse() const { return *browse_; }

  // The action of a command (its menu item and keys); the toolbar button has
  // its own action that triggers this one.
  QAction* Action(int id) const;
  QAction* ToolbarAction(int id) const;
  // Applies the command rules to every menu item and toolbar button now. Runs
  // after every command and state change the frame sees; views that change
  // flags call it too.
  void RefreshCommands();
  CommandStates CurrentCommandStates() const;

  // The status-bar panes (0 prompts and progress, 1 disc totals, 2 marked
  // totals, 3 scroll lock).
  QLabel* StatusPane(int index) const;
  void SetDiscTotalsText(const QString& text);
  void SetMarkedTotalsText(const QString& text);
  CProgressBar* currentProgress() const;
  // Puts the latest progress text and the steps taken since the last time on
  // the indicator. The pump does it before it lets events through, so what is
  // painted is always the process's exact state.
  void ShowPendingProgress();

  // Runs a long process inside a command handler: the close is refused and the
  // commands greyed by their rules until it returns.
  void RunProcess(const std::function<void()>& process);
  bool processOnStack() const { return processDepth_ > 0; }
  // A drive call of a process is slow: true when events may go through until
  // it returns, as at the pump (the indicator and the commands are brought up
  // to date first); false outside a process, where nothing is greyed for it.
  bool AnswerDuringSlowCall();

  // View > Names: the names the tree shows, kept in the settings. A tree on
  // screen is read again with them at once; without one they apply to the next
  // scan. Ignored while a process runs or for names the disc shown lacks.
  void SetNameSource(disc::NameSource names);

  std::uint32_t languageIndex() const { return languageIndex_; }
  // Switches to language index (0 English ... 4 Italian); false when its
  // translation is missing, English is then shown.
  bool SwitchLanguage(std::uint32_t index);
  HelpWindow* helpWindow() const { return helpWindow_; }
  // Find, File Mask, File Filter and the recovery commands.
  SelectionCommands* selection() const { return selection_; }

  // disc::ScanHost
  Prompts& prompts() override { return *prompts_; }
  void PumpPendingMessages() override;
  void CreateReadingProgress(std::uint32_t range) override;
  void StepProgress(std::u16string_view text) override;
  void DeleteProgress() override;
  void CountBytes(std::uint64_t done, std::uint64_t total) override;
  void AddLogEntry(std::u16string_view activity, std::u16string_view text,
                   std::u16string_view status, log::LogIcon icon) override;
  void ShowRoot(bool collapseFirst) override;
  void CollapseTopLevel() override;

 public slots:
  void OnOpenDrive();
  void OnCreateImage();
  void OnOpenImage();
  // Opens the image file path as Open Image does once a file is chosen (the
  // file named on the command line).
  void OpenImageFile(const QString& path);
  void OnStopProcess();
  // Asked from outside to end (app/EndRequests.h): stops the running process
  // without the Stop question and closes the window once it has returned.
  void OnEndRequest();
  void OnClearLog();
  void OnSaveLog();
  void OnHelpTopics();
  void OnAbout();

 signals:
  // After a language switch: views reload what they show in words.
  void LanguageChanged();
  // After an Open Drive or Open Image scan ended (completed, stopped or failed).
  void ScanFinished();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  bool event(QEvent* event) override;

 private:
  void CreateActions();
  void CreateMenus();
  void CreateToolBar();
  void CreateStatusBar();
  void CreateDocks();
  void CreateSplitter();
  void RetranslateUi();
  void RestoreSettings();
  void SaveSettings() const;
  void SetListStyle(ListStyle style);
  WindowFacts CurrentFacts() const;
  // Create Image as a rescue in several passes, with its map beside the image.
  void RescueImage(const std::string& path);
  // Stop, once the user has confirmed it (or nobody is there to ask).
  void StopRunningProcess();
  void ShowPrompt(const QString& text);
  // Moves the window onto the primary screen when no screen shows enough of it.
  void KeepOnScreen();
  // The folder tree's width at the first start.
  int FolderPaneStartWidth() const;

  platform::Machine& machine_;
  AppState state_;
  disc::CCDReader reader_;
  disc::EntryTable table_;
  log::MessageLog log_;
  std::unique_ptr<DialogPrompts> dialogPrompts_;
  WindowPrompts* prompts_ = nullptr;
  disc::ScanProcess scan_;

  QSplitter* splitter_ = nullptr;
  BrowseViews* browse_ = nullptr;
  QToolBar* toolBar_ = nullptr;
  MessageLogBar* logBar_ = nullptr;
  std::map<int, QAction*> actions_;
  std::map<int, QAction*> toolbarActions_;
  std::map<int, QMenu*> menus_;
  QLabel* panes_[4] = {};
  QPointer<CProgressBar> currentProgress_;
  HelpWindow* helpWindow_ = nullptr;
  SelectionCommands* selection_ = nullptr;
  QElapsedTimer pumpClock_;
  // The progress a process reported since the indicator was last updated: a
  // scan reports every entry, far more often than the label can be redrawn.
  std::u16string pendingProgressText_;
  int pendingSteps_ = 0;
  bool progressShowQueued_ = false;
  // The figures of the copy running (bytes done of the whole, rate, time
  // left), shown on the indicator at the pump's pace.
  disc::ByteProgress figures_;
  std::uint64_t bytesDone_ = 0;
  int processDepth_ = 0;
  bool closePending_ = false;
  // The splitter's first layout waits for the window's real width.
  bool splitterPlaced_ = false;
  std::uint32_t languageIndex_ = 0;
};

}  // namespace velmora::gui
