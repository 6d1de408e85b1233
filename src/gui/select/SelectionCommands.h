#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "entries/EntryTable.h"
#include "select/ApplyMask.h"
#include "select/CivilDate.h"
#include "select/MaskCriteria.h"
#include "select/RecoveryFilterList.h"

namespace velmora::gui {

class CFindDialog;
class CMainFrame;

// The commands of the selection tools: Find and Find Next, File Mask and File
// Unmask, Add and Remove File Filter, Recover Selected Files and Recover All.
// It keeps the Find dialog for Find Next, the filter texts for the recovery,
// and, while a mask is applied, the complete entry table set aside: the frame's
// table is always the one the views show.
class SelectionCommands : public QObject {
  Q_OBJECT

 public:
  explicit SelectionCommands(CMainFrame& frame);
  ~SelectionCommands() override;

  void OnFind();
  void OnFindNext();
  void OnFileMask();
  void OnFileUnmask();
  void OnAddFileFilter();
  void OnRemoveFileFilter();
  void OnRecoverSelected();
  void OnRecoverAll();

  const select::RecoveryFilterList& filters() const { return filters_; }
  // The complete table while a mask is applied, else nullptr.
  const disc::EntryTable* completeTable() const { return complete_ ? &*complete_ : nullptr; }
  // Bytes, files and folders the masked tree shows (zeros without a mask).
  const select::MaskedTable& maskedTotals() const { return maskedTotals_; }

  // Today's date for the mask (UTC by default); tests set their own.
  std::function<select::CivilDate()> today = select::TodayUtc;

 signals:
  // The frame's table was replaced by a mask or File Unmask and the views
  // have been told; totals and marks may be shown anew.
  void TableReplaced();

 private:
  bool Enabled(int command) const;
  void ShowHit(std::size_t index);
  void ShowWaitNotice();
  // Puts table in the frame's place and tells the views, as a scan would;
  // returns the table that was shown.
  disc::EntryTable ShowTable(disc::EntryTable table);
  void AfterTableReplaced();
  void OnScanFinished();
  void Recover(bool all);

  CMainFrame& frame_;
  std::unique_ptr<CFindDialog> findDialog_;
  select::RecoveryFilterList filters_;
  std::optional<disc::EntryTable> complete_;
  std::vector<std::size_t> sourceIndex_;
  select::MaskedTable maskedTotals_;
  std::uint32_t scansSeen_ = 0;
};

}  // namespace velmora::gui
