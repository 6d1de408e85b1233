#include "ScsiDrive.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace softdrive {
namespace {

constexpr std::uint8_t kTestUnitReady = 0x00;
constexpr std::uint8_t kInquiry = 0x12;
constexpr std::uint8_t kModeSelect6 = 0x15;
constexpr std::uint8_t kModeSense6 = 0x1A;
constexpr std::uint8_t kPreventAllow = 0x1E;
constexpr std::uint8_t kReadCapacity = 0x25;
constexpr std::uint8_t kRead10 = 0x28;
constexpr std::uint8_t kReadToc = 0x43;
constexpr std::uint8_t kModeSelect10 = 0x55;
constexpr std::uint8_t kModeSense10 = 0x5A;
constexpr std::uint8_t kSetCdSpeed = 0xBB;
constexpr std::uint8_t kReadCd = 0xBE;

constexpr std::uint8_t kAdr1Data = 0x14;  // ADR 1, CONTROL: data track
constexpr std::uint8_t kAdr5Data = 0x54;
constexpr std::uint8_t kPageErrorRecovery = 0x01;
constexpr std::uint8_t kPageCapabilities = 0x2A;
constexpr std::uint8_t kPageAll = 0x3F;
// READ CD byte 1, bits 2-4: expected sector type.
constexpr int kAnyType = 0;
constexpr int kMode1 = 2;
constexpr int kMode2Form1 = 4;
// The outermost lead-out of an 80-minute CD-R, and its first lead-in.
constexpr std::uint32_t kLastLeadOutFrames = (79 * 60 + 59) * 75 + 74;
constexpr std::uint32_t kFirstLeadInFrames = (97 * 60 + 27) * 75;

std::uint32_t Be16(const std::uint8_t* p) { return std::uint32_t{p[0]} << 8 | p[1]; }
std::uint32_t Be32(const std::uint8_t* p) {
  return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3];
}
void PutBe16(std::string& out, std::uint32_t v) {
  out += static_cast<char>(v >> 8);
  out += static_cast<char>(v);
}
void PutBe32(std::string& out, std::uint32_t v) {
  PutBe16(out, v >> 16);
  PutBe16(out, v & 0xFFFF);
}
// Minute, second and frame of an LBA as a TOC gives them (150 frames on).
void PutMsf(std::string& out, std::uint32_t frames) {
  out += static_cast<char>(frames / (60 * 75));
  out += static_cast<char>(frames / 75 % 60);
  out += static_cast<char>(frames % 75);
}

ScsiAnswer Deliver(const std::string& bytes, std::size_t allocation, std::span<std::uint8_t> dataIn) {
  ScsiAnswer answer;
  answer.transferred = std::min({bytes.size(), allocation, dataIn.size()});
  std::memcpy(dataIn.data(), bytes.data(), answer.transferred);
  return answer;
}

// Sectors a read command asks for, for the script's triggers.
void SectorsOf(std::span<const std::uint8_t> cdb, std::uint64_t& first, std::uint64_t& count) {
  first = 0;
  count = 0;
  if (cdb.size() >= 10 && cdb[0] == kRead10) {
    first = Be32(&cdb[2]);
    count = Be16(&cdb[7]);
  } else if (cdb.size() >= 12 && cdb[0] == kReadCd) {
    first = Be32(&cdb[2]);
    count = std::uint32_t{cdb[6]} << 16 | Be16(&cdb[7]);
  }
}

const char* NameOf(std::uint8_t opcode) {
  switch (opcode) {
    case kTestUnitReady: return "TEST-UNIT-READY";
    case kInquiry: return "INQUIRY";
    case kModeSelect6: return "MODE-SELECT(6)";
    case kModeSense6: return "MODE-SENSE(6)";
    case kPreventAllow: return "PREVENT-ALLOW";
    case kReadCapacity: return "READ-CAPACITY";
    case kRead10: return "READ(10)";
    case kReadToc: return "READ-TOC";
    case kModeSelect10: return "MODE-SELECT(10)";
    case kModeSense10: return "MODE-SENSE(10)";
    case kSetCdSpeed: return "SET-CD-SPEED";
    case kReadCd: return "READ-CD";
    default: return "OPCODE";
  }
}

std::string Outcome(const ScsiAnswer& answer) {
  char text[64];
  if (answer.hostStatus == kHostTimeOut) {
    std::snprintf(text, sizeof text, "TIME-OUT");
  } else if (answer.status == kStatusCheckCondition) {
    const Sense s = answer.SenseCode();
    std::snprintf(text, sizeof text, "CHECK %02X/%02X/%02X %zu", s.key, s.asc, s.ascq,
                  answer.transferred);
  } else {
    std::snprintf(text, sizeof text, "GOOD %zu", answer.transferred);
  }
  return text;
}

}  // namespace

std::uint32_t ScsiAnswer::Information() const { return Be32(&sense[3]); }

ScsiAnswer CheckCondition(Sense code) {
  ScsiAnswer answer;
  answer.status = kStatusCheckCondition;
  answer.sense[0] = 0x70;  // current error, fixed format
  answer.sense[2] = code.key;
  answer.sense[7] = 10;  // additional sense length
  answer.sense[12] = code.asc;
  answer.sense[13] = code.ascq;
  answer.senseLength = 18;
  return answer;
}

namespace {

ScsiAnswer MediumErrorAt(std::uint32_t lba, std::size_t transferred) {
  ScsiAnswer answer = CheckCondition(kUnrecoveredReadError);
  answer.sense[0] |= 0x80;  // the INFORMATION field is valid
  answer.sense[3] = static_cast<std::uint8_t>(lba >> 24);
  answer.sense[4] = static_cast<std::uint8_t>(lba >> 16);
  answer.sense[5] = static_cast<std::uint8_t>(lba >> 8);
  answer.sense[6] = static_cast<std::uint8_t>(lba);
  answer.transferred = transferred;
  return answer;
}

}  // namespace

ScsiDrive::ScsiDrive(DriveScript script, std::function<void(const std::string&)> waitForRelease)
    : script_(std::move(script)), waitForRelease_(std::move(waitForRelease)) {}

ScsiDrive::~ScsiDrive() {
  if (log_) std::fclose(log_);
}

bool ScsiDrive::Start(std::string& error) {
  if (!script_.log.empty()) {
    log_ = std::fopen(script_.log.c_str(), "ae");
    if (!log_) {
      error = "cannot write the drive log " + script_.log;
      return false;
    }
  }
  notReadyLeft_ = script_.notReadyCommands;
  if (script_.disc.empty()) return true;
  disc_ = DiscImage::Load(script_.disc, script_.sessionEnds, error);
  return disc_ != nullptr;
}

void ScsiDrive::Log(const std::string& line) {
  if (!log_) return;
  std::fputs(line.c_str(), log_);
  std::fputc('\n', log_);
  std::fflush(log_);
}

bool ScsiDrive::TakeMediaEvent() {
  const bool event = mediaEvent_;
  mediaEvent_ = false;
  return event;
}

bool ScsiDrive::Arrive(std::uint64_t first, std::uint64_t count) {
  ++commands_;
  if (gone_) return false;
  if (script_.hold.Fires(commands_, first, count)) {
    Log("held " + std::to_string(commands_));
    waitForRelease_(script_.log + ".release");
    Log("released " + std::to_string(commands_));
  }
  if (script_.gone.Fires(commands_, first, count)) {
    gone_ = true;
    prevent_ = false;  // a drive that left has no power to hold its tray
    Log("gone " + std::to_string(commands_));
    return false;
  }
  if (!changed_ && script_.change.Fires(commands_, first, count)) {
    changed_ = true;
    std::string error;
    disc_ = DiscImage::Load(script_.secondDisc, {}, error);
    if (!disc_) Log("second disc: " + error);
    attention_ = &kMediumChanged;
    mediaEvent_ = true;
    Log("disc-changed " + std::to_string(commands_));
  }
  return true;
}

ScsiAnswer ScsiDrive::Execute(const Command& command) {
  std::uint64_t first = 0;
  std::uint64_t count = 0;
  SectorsOf(command.cdb, first, count);
  const char* name = command.cdb.empty() ? "EMPTY" : NameOf(command.cdb[0]);
  char head[96];
  if (!Arrive(first, count)) {
    std::snprintf(head, sizeof head, "cmd %llu %s %s -> GONE",
                  static_cast<unsigned long long>(commands_), command.via, name);
    Log(head);
    ScsiAnswer answer;
    answer.error = ENODEV;
    return answer;
  }
  std::string what;
  if (count > 0) {
    char range[32];
    std::snprintf(range, sizeof range, " %llu+%llu", static_cast<unsigned long long>(first),
                  static_cast<unsigned long long>(count));
    what = range;
  }
  ScsiAnswer answer = Dispatch(command, what);
  std::snprintf(head, sizeof head, "cmd %llu %s %s", static_cast<unsigned long long>(commands_),
                command.via, name);
  Log(std::string(head) + what + " -> " + Outcome(answer));
  return answer;
}

ScsiAnswer ScsiDrive::Dispatch(const Command& command, std::string& what) {
  const std::span<const std::uint8_t> cdb = command.cdb;
  // A command block the drive does not take as sent: the program built it
  // wrong. Marked so that a test can insist on none.
  const auto malformed = [&](Sense sense) {
    what += " MALFORMED";
    return CheckCondition(sense);
  };
  if (cdb.empty()) return malformed(kInvalidOpcode);
  const std::uint8_t opcode = cdb[0];
  std::size_t length = 0;
  switch (opcode >> 5) {
    case 0: length = 6; break;
    case 1: case 2: length = 10; break;
    case 5: length = 12; break;
    default: return CheckCondition(kInvalidOpcode);
  }
  if (cdb.size() != length) return malformed(kInvalidFieldInCdb);
  const bool dataInCommand = opcode == kInquiry || opcode == kReadCapacity || opcode == kRead10 ||
                             opcode == kReadToc || opcode == kModeSense10 || opcode == kReadCd;
  if (!command.dataOut.empty() && opcode != kModeSelect10) return malformed(kInvalidFieldInCdb);
  if (!command.dataIn.empty() && !dataInCommand) return malformed(kInvalidFieldInCdb);

  // INQUIRY is answered whatever the drive has to report.
  if (opcode == kInquiry) return Inquiry(cdb, command.dataIn);
  if (attention_) {
    const Sense attention = *attention_;
    attention_ = nullptr;
    return CheckCondition(attention);
  }
  const bool needsDisc = opcode == kTestUnitReady || opcode == kReadCapacity || opcode == kRead10 ||
                         opcode == kReadToc || opcode == kReadCd;
  if (opcode == kReadCd && script_.refuseReadCd) return CheckCondition(kInvalidOpcode);
  if (needsDisc) {
    if (!disc_) return CheckCondition(kNoMedium);
    if (notReadyLeft_ > 0) {
      --notReadyLeft_;
      return CheckCondition(kBecomingReady);
    }
  }
  char args[64] = "";
  switch (opcode) {
    case kTestUnitReady:
      return {};
    case kPreventAllow:
      prevent_ = (cdb[4] & 1) != 0;
      std::snprintf(args, sizeof args, " %d", prevent_ ? 1 : 0);
      what += args;
      return {};
    case kReadCapacity: {
      std::string out;
      PutBe32(out, disc_->leadOut() - 1);
      PutBe32(out, kBlock);
      return Deliver(out, out.size(), command.dataIn);
    }
    case kRead10: {
      const std::uint32_t lba = Be32(&cdb[2]);
      const std::uint32_t count = Be16(&cdb[7]);
      if (cdb[1] != 0 || cdb[6] != 0 || cdb[9] != 0) return malformed(kInvalidFieldInCdb);
      if (command.dataIn.size() < std::size_t{count} * kBlock) return malformed(kInvalidFieldInCdb);
      return Read(lba, count, command.dataIn, kAnyType);
    }
    case kReadCd: {
      const std::uint32_t lba = Be32(&cdb[2]);
      const std::uint32_t count = std::uint32_t{cdb[6]} << 16 | Be16(&cdb[7]);
      const int type = (cdb[1] >> 2) & 7;
      std::snprintf(args, sizeof args, " type%d", type);
      what += args;
      // User data only, no C2 errors, no sub-channel; the reserved bits clear.
      if ((cdb[1] & 0xE3) != 0 || cdb[9] != 0x10 || cdb[10] != 0 || cdb[11] != 0) {
        return malformed(kInvalidFieldInCdb);
      }
      if (type != kAnyType && type != kMode1 && type != kMode2Form1) return CheckCondition(kIllegalModeForTrack);
      if (command.dataIn.size() < std::size_t{count} * kBlock) return malformed(kInvalidFieldInCdb);
      return Read(lba, count, command.dataIn, type);
    }
    case kReadToc: {
      std::snprintf(args, sizeof args, " format%d msf%d from%u", cdb[2] & 0x0F, (cdb[1] >> 1) & 1, cdb[6]);
      what += args;
      return ReadToc(cdb, command.dataIn);
    }
    case kModeSense10:
      std::snprintf(args, sizeof args, " page%02X pc%d", cdb[2] & 0x3F, cdb[2] >> 6);
      what += args;
      return ModeSense(cdb, command.dataIn);
    case kModeSelect10: {
      if (command.dataOut.size() != Be16(&cdb[7])) return malformed(kInvalidFieldInCdb);
      const ScsiAnswer answer = ModeSelect(cdb, command.dataOut);
      std::snprintf(args, sizeof args, " retries%u parameter%02X", readRetries_, recoveryParameter_);
      what += args;
      return answer;
    }
    case kSetCdSpeed: {
      const std::uint32_t wanted = Be16(&cdb[2]);
      readSpeed_ = static_cast<std::uint16_t>(std::min<std::uint32_t>(wanted, kMaxReadSpeed));
      std::snprintf(args, sizeof args, " read%u", wanted);
      what += args;
      return {};
    }
    default:
      // MODE SENSE(6) and MODE SELECT(6) among them: MMC drives take only the
      // 10-byte forms.
      return CheckCondition(kInvalidOpcode);
  }
}

ScsiAnswer ScsiDrive::Read(std::uint32_t lba, std::uint32_t count, std::span<std::uint8_t> dataIn,
                           int expectedType) {
  // The drive checks the whole range before it seeks.
  if (std::uint64_t{lba} + count > disc_->leadOut()) return CheckCondition(kLbaOutOfRange);
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::uint32_t sector = lba + i;
    const std::size_t before = std::size_t{i} * kBlock;
    if (script_.timeOuts.contains(sector)) {
      ScsiAnswer answer;
      answer.hostStatus = kHostTimeOut;
      // The host resets the drive to get it back; the drive says so next.
      attention_ = &kResetOccurred;
      return answer;
    }
    if (disc_->SessionOf(sector) == nullptr) {
      ScsiAnswer answer = CheckCondition(kLbaOutOfRange);
      answer.transferred = before;
      return answer;
    }
    if (expectedType != kAnyType && (expectedType == kMode2Form1) != script_.xa) {
      ScsiAnswer answer = CheckCondition(kIllegalModeForTrack);
      answer.transferred = before;
      return answer;
    }
    if (script_.mediumErrors.contains(sector) || !disc_->ReadSector(sector, dataIn.data() + before)) {
      return MediumErrorAt(sector, before);
    }
    if (auto cut = script_.shortSectors.find(sector); cut != script_.shortSectors.end()) {
      ScsiAnswer answer;
      answer.transferred = before + cut->second;
      return answer;
    }
  }
  ScsiAnswer answer;
  answer.transferred = std::size_t{count} * kBlock;
  return answer;
}

ScsiAnswer ScsiDrive::ReadToc(std::span<const std::uint8_t> cdb, std::span<std::uint8_t> dataIn) {
  const bool msf = (cdb[1] & 0x02) != 0;
  int format = cdb[2] & 0x0F;
  // Early drives took the format from the top bits of the control byte.
  if (format == 0) format = cdb[9] >> 6;
  const std::uint32_t number = cdb[6];
  const std::size_t allocation = Be16(&cdb[7]);
  const std::vector<Session>& sessions = disc_->sessions();
  std::string body;
  std::uint8_t firstField = 0;
  std::uint8_t lastField = 0;
  const auto address = [&](std::string& out, std::uint32_t lba) {
    if (msf) {
      out += '\0';
      PutMsf(out, lba + kPregapFrames);
    } else {
      PutBe32(out, lba);
    }
  };
  if (format == 0) {
    firstField = sessions.front().track;
    lastField = sessions.back().track;
    if (number > lastField && number != 0xAA) return CheckCondition(kInvalidFieldInCdb);
    for (const Session& session : sessions) {
      if (session.track < number) continue;
      body += {'\0', static_cast<char>(kAdr1Data), static_cast<char>(session.track), '\0'};
      address(body, session.start);
    }
    body += {'\0', static_cast<char>(kAdr1Data), static_cast<char>(0xAA), '\0'};
    address(body, disc_->leadOut());
  } else if (format == 1) {
    firstField = 1;
    lastField = static_cast<std::uint8_t>(sessions.size());
    body += {'\0', static_cast<char>(kAdr1Data), static_cast<char>(sessions.back().track), '\0'};
    address(body, sessions.back().start);
  } else if (format == 2) {
    firstField = 1;
    lastField = static_cast<std::uint8_t>(sessions.size());
    const std::uint32_t from = number == 0 ? 1 : number;
    if (from > sessions.size()) return CheckCondition(kInvalidFieldInCdb);
    for (std::size_t i = from - 1; i < sessions.size(); ++i) {
      const Session& session = sessions[i];
      const char s = static_cast<char>(i + 1);
      const auto point = [&](std::uint8_t adr, std::uint8_t pointCode, std::uint32_t atime,
                             std::uint32_t ptime) {
        body += {s, static_cast<char>(adr), '\0', static_cast<char>(pointCode)};
        PutMsf(body, atime);
        body += '\0';
        PutMsf(body, ptime);
      };
      // A0: first track and disc type; A1: last track; A2: the session's lead-out.
      point(kAdr1Data, 0xA0, 0, (std::uint32_t{session.track} * 60 + (script_.xa ? 0x20 : 0)) * 75);
      point(kAdr1Data, 0xA1, 0, std::uint32_t{session.track} * 60 * 75);
      point(kAdr1Data, 0xA2, 0, session.end + kPregapFrames);
      point(kAdr1Data, session.track, 0, session.start + kPregapFrames);
      if (i + 1 < sessions.size()) {
        point(kAdr5Data, 0xB0, sessions[i + 1].start + kPregapFrames, kLastLeadOutFrames);
      }
      if (i == 0) point(kAdr5Data, 0xC0, 0, kFirstLeadInFrames);
    }
  } else {
    return CheckCondition(kInvalidFieldInCdb);
  }
  std::string out;
  PutBe16(out, static_cast<std::uint32_t>(body.size() + 2));
  out += static_cast<char>(firstField);
  out += static_cast<char>(lastField);
  out += body;
  return Deliver(out, allocation, dataIn);
}

ScsiAnswer ScsiDrive::Inquiry(std::span<const std::uint8_t> cdb, std::span<std::uint8_t> dataIn) {
  // No vital product data pages.
  if ((cdb[1] & 1) != 0 || cdb[2] != 0) return CheckCondition(kInvalidFieldInCdb);
  std::string out = {0x05, static_cast<char>(0x80), 0x05, 0x02, 31, 0, 0, 0};
  const auto field = [&](const std::string& text, std::size_t width) {
    std::string padded = text.substr(0, width);
    padded.resize(width, ' ');
    out += padded;
  };
  field(script_.vendor, 8);
  field(script_.model, 16);
  field(script_.revision, 4);
  return Deliver(out, Be16(&cdb[3]), dataIn);
}

std::string ScsiDrive::ErrorRecoveryPage(int pc) const {
  std::string page(12, '\0');
  page[0] = kPageErrorRecovery;
  page[1] = 0x0A;
  if (pc == 1) {  // changeable: the error recovery parameter and the retry counts
    page[2] = 0x37;
    page[3] = static_cast<char>(0xFF);
    page[8] = static_cast<char>(0xFF);
  } else if (pc == 2) {
    page[3] = 16;
  } else {
    page[2] = static_cast<char>(recoveryParameter_);
    page[3] = static_cast<char>(readRetries_);
  }
  return page;
}

std::string ScsiDrive::CapabilitiesPage(int pc) const {
  std::string page(28, '\0');
  page[0] = kPageCapabilities;
  page[1] = 26;
  if (pc == 1) return page;  // nothing in it changes
  page[2] = 0x03;            // reads CD-R and CD-RW
  page[6] = 0x29;            // tray loading, eject, lock
  if (prevent_) page[6] |= 0x02;
  page[8] = static_cast<char>(kMaxReadSpeed >> 8);
  page[9] = static_cast<char>(kMaxReadSpeed & 0xFF);
  const std::uint16_t speed = pc == 2 ? kMaxReadSpeed : readSpeed_;
  page[14] = static_cast<char>(speed >> 8);
  page[15] = static_cast<char>(speed & 0xFF);
  return page;
}

ScsiAnswer ScsiDrive::ModeSense(std::span<const std::uint8_t> cdb, std::span<std::uint8_t> dataIn) {
  const int pc = cdb[2] >> 6;
  const int code = cdb[2] & 0x3F;
  if (pc == 3) return CheckCondition(kSavingNotSupported);
  if (cdb[3] != 0) return CheckCondition(kInvalidFieldInCdb);  // no subpages
  std::string pages;
  if (code == kPageErrorRecovery || code == kPageAll) pages += ErrorRecoveryPage(pc);
  if (code == kPageCapabilities || code == kPageAll) pages += CapabilitiesPage(pc);
  if (pages.empty()) return CheckCondition(kInvalidFieldInCdb);
  std::string out;
  PutBe16(out, static_cast<std::uint32_t>(pages.size() + 6));
  out += {0x01, 0, 0, 0, 0, 0};  // 120 mm CD-ROM, no block descriptor
  out += pages;
  return Deliver(out, Be16(&cdb[7]), dataIn);
}

ScsiAnswer ScsiDrive::ModeSelect(std::span<const std::uint8_t> cdb, std::span<const std::uint8_t> data) {
  // Page format, and nothing saved: this drive keeps no saved pages.
  if ((cdb[1] & 0x10) == 0 || (cdb[1] & 0x01) != 0) return CheckCondition(kInvalidFieldInCdb);
  const std::size_t length = data.size();
  if (length == 0) return {};
  if (length < 8 || Be16(&data[6]) != 0) return CheckCondition(kInvalidFieldInParameters);
  std::uint8_t parameter = recoveryParameter_;
  std::uint8_t retries = readRetries_;
  for (std::size_t at = 8; at < length;) {
    if (at + 2 > length || at + 2 + data[at + 1] > length) return CheckCondition(kInvalidFieldInParameters);
    const std::span<const std::uint8_t> page = data.subspan(at, 2u + data[at + 1]);
    const std::string current = (page[0] & 0x3F) == kPageErrorRecovery ? ErrorRecoveryPage(0)
                                : (page[0] & 0x3F) == kPageCapabilities ? CapabilitiesPage(0)
                                                                         : std::string();
    const std::string changeable = (page[0] & 0x3F) == kPageErrorRecovery ? ErrorRecoveryPage(1)
                                                                           : std::string(current.size(), '\0');
    if (current.empty() || page.size() != current.size()) return CheckCondition(kInvalidFieldInParameters);
    // A bit the drive does not let change must come back as it is.
    for (std::size_t i = 2; i < page.size(); ++i) {
      const auto mask = static_cast<std::uint8_t>(changeable[i]);
      if ((page[i] & ~mask) != (static_cast<std::uint8_t>(current[i]) & ~mask)) {
        return CheckCondition(kInvalidFieldInParameters);
      }
    }
    if ((page[0] & 0x3F) == kPageErrorRecovery) {
      parameter = page[2];
      retries = page[3];
    }
    at += page.size();
  }
  recoveryParameter_ = parameter;
  readRetries_ = retries;
  return {};
}

}  // namespace softdrive
