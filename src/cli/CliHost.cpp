#include "CliHost.h"

#include "StopSignal.h"
#include "scan/ScanProcess.h"
#include "text/Utf.h"

namespace velmora::cli {

void CliHost::PumpPendingMessages() {
  // The window asks "Stop current process ?" first; on the command line Ctrl-C
  // is the answer. The scan clears the flag when it starts, so a Ctrl-C that
  // came before is applied again here.
  if (StopSignalRaised() && !state_.stopRequested) {
    disc::ScanProcess::RequestStop(state_);
    stopped_ = true;
  }
}

void CliHost::StepProgress(std::u16string_view text) {
  meter_.Step();
  lastText_ = text;
  // An image steps once per sector: the line is built only when it is drawn.
  if (console_.ProgressDue()) console_.Progress(meter_.Line(text::ToUtf8(text)));
}

std::string CliHost::LastProgress() const { return meter_.Line(text::ToUtf8(lastText_)); }

}  // namespace velmora::cli
