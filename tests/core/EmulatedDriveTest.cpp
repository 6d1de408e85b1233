#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "media/ImageTrailer.h"
#include "media/MmcCommands.h"
#include "platform/emulated/EmulatedMachine.h"
#include "support/BytePatcher.h"
#include "support/TempDir.h"
#include "support/TreeWriter.h"

namespace velmora::platform::emulated {
namespace {

namespace fs = std::filesystem;
using disc::TrackNode;

constexpr const char* kDrive = "emulated:sr0";

std::vector<std::byte> AsBytes(const std::string& text) {
  std::vector<std::byte> bytes(text.size());
  std::transform(text.begin(), text.end(), bytes.begin(),
                 [](char c) { return static_cast<std::byte>(c); });
  return bytes;
}

std::uint32_t FramesOf(std::uint32_t hour, std::uint32_t minute, std::uint32_t second,
                       std::uint32_t frame) {
  return ((hour * 60 + minute) * 60 + second) * 75 + frame;
}

struct CdbAnswer {
  ScsiResult result;
  std::vector<std::byte> data;
};

CdbAnswer Send(ScsiTransport& transport, std::span<const std::uint8_t> cdb,
               std::size_t bufferSize) {
  CdbAnswer answer;
  answer.data.resize(bufferSize);
  answer.result = transport.Execute(cdb, answer.data, disc::kReadCdTimeout);
  return answer;
}

std::vector<std::uint8_t> Patched(std::span<const std::uint8_t> cdb, std::size_t at,
                                  std::uint8_t value) {
  std::vector<std::uint8_t> bytes(cdb.begin(), cdb.end());
  bytes.at(at) = value;
  return bytes;
}

std::vector<std::uint8_t> Resized(std::span<const std::uint8_t> cdb, std::size_t length) {
  std::vector<std::uint8_t> bytes(cdb.begin(), cdb.end());
  bytes.resize(length);
  return bytes;
}

// One 11-byte descriptor of a full TOC, with its two times in frames.
struct TocDescriptor {
  std::uint8_t session = 0;
  std::uint8_t adrControl = 0;
  std::uint8_t point = 0;
  std::uint32_t time = 0;  // MIN, SEC, FRAME
  std::uint8_t pmin = 0;
  std::uint8_t psec = 0;
  std::uint32_t pointTime = 0;  // ZERO (hours), PMIN, PSEC, PFRAME
};

std::vector<TocDescriptor> Descriptors(std::span<const std::byte> response) {
  auto u8 = [&](std::size_t at) { return static_cast<std::uint8_t>(response[at]); };
  std::vector<TocDescriptor> descriptors;
  for (std::size_t at = 4; at + 11 <= response.size(); at += 11) {
    descriptors.push_back({u8(at), u8(at + 1), u8(at + 3),
                           FramesOf(0, u8(at + 4), u8(at + 5), u8(at + 6)), u8(at + 8), u8(at + 9),
                           FramesOf(u8(at + 7), u8(at + 8), u8(at + 9), u8(at + 10))});
  }
  return descriptors;
}

std::optional<TocDescriptor> Find(const std::vector<TocDescriptor>& descriptors,
                                  std::uint8_t session, std::uint8_t adr, std::uint8_t point) {
  auto found = std::find_if(descriptors.begin(), descriptors.end(), [&](const TocDescriptor& d) {
    return d.session == session && d.adrControl >> 4 == adr && d.point == point;
  });
  if (found == descriptors.end()) return std::nullopt;
  return *found;
}

class EmulatedDriveTest : public ::testing::Test {
 protected:
  // An image of sectors blocks whose bytes differ at every position; returns them.
  std::vector<std::byte> WriteImage(const fs::path& path, std::uint32_t sectors,
                                    std::uint32_t seed) {
    std::string content =
        velmora::testing::PatternBytes(std::uint64_t{sectors} * kSectorSize, seed);
    std::ofstream(path, std::ios::binary) << content;
    return AsBytes(content);
  }

  // A large image with nothing in it, for track lists at realistic addresses.
  fs::path SparseImage(const fs::path& path, std::uint32_t sectors) {
    std::ofstream(path, std::ios::binary).flush();
    fs::resize_file(path, std::uint64_t{sectors} * kSectorSize);
    return path;
  }

  // Two sessions: LBA 0-9, a gap at 10-19, LBA 20-29; the lead-out at 30.
  EmulatedDisc TwoSessionDisc() {
    EmulatedDisc disc;
    disc.imagePath = (dir_ / "two-sessions.iso").string();
    content_ = WriteImage(disc.imagePath, 30, 7);
    disc.tracks = {TrackNode{1, 150, 10}, TrackNode{2, 170, 30}};
    return disc;
  }

  // TwoSessionDisc with a fault at most places a read can stop.
  EmulatedDisc FaultyDisc() {
    EmulatedDisc disc = TwoSessionDisc();
    disc.faults = {
        {4, {FaultKind::kUnreadable}},
        {6, {FaultKind::kShortRead, 100}},
        {8, {FaultKind::kCheckCondition}},
        {24, {FaultKind::kSlow, 0, std::chrono::milliseconds(1)}},
        {26, {FaultKind::kShortRead, 0}},
    };
    return disc;
  }

  std::span<const std::byte> Content(std::uint64_t offset, std::size_t length) const {
    return std::span<const std::byte>(content_).subspan(offset, length);
  }

  velmora::testing::TempDir dir_;
  std::vector<std::byte> content_;
};

TEST_F(EmulatedDriveTest, MalformedCommandBlocksAreRejectedAndCounted) {
  EmulatedMachine machine;
  machine.InsertDisc(0, TwoSessionDisc());
  OpenError error;
  auto transport = machine.OpenPassThrough(kDrive, error);
  ASSERT_TRUE(transport);

  const auto readCd = disc::BuildReadCd(0, 1, disc::kSectorTypeMode1);
  const auto readToc = disc::BuildReadFullToc();
  const auto read10 = disc::BuildRead10(0, 1);
  const auto inquiry = disc::BuildInquiry();
  // What the disc reader sends is accepted, so every rejection below is the patch's doing.
  EXPECT_EQ(Send(*transport, readCd, kSectorSize).result.status, kScsiStatusGood);
  EXPECT_EQ(Send(*transport, readToc, disc::kFullTocBufferSize).result.status, kScsiStatusGood);
  EXPECT_EQ(Send(*transport, read10, kSectorSize).result.status, kScsiStatusGood);
  EXPECT_EQ(Send(*transport, inquiry, disc::kInquiryLength).result.status, kScsiStatusGood);
  ASSERT_EQ(machine.malformedCommands(), 0u);

  constexpr std::uint8_t kBadOpcode = 0x20;
  constexpr std::uint8_t kBadField = 0x24;
  struct Case {
    const char* name;
    std::vector<std::uint8_t> cdb;
    std::size_t bufferSize;
    std::uint8_t asc;
  };
  const Case cases[] = {
      {"no command block", {}, kSectorSize, kBadOpcode},
      {"READ(12) opcode", Patched(readCd, 0, 0xA8), kSectorSize, kBadOpcode},
      {"READ(10) of 12 bytes", Resized(read10, 12), kSectorSize, kBadField},
      {"READ(10) with force unit access", Patched(read10, 1, 0x08), kSectorSize, kBadField},
      {"READ(10) past its buffer", Patched(read10, 8, 0x02), kSectorSize, kBadField},
      {"INQUIRY of a vital product data page", Patched(inquiry, 1, 0x01), disc::kInquiryLength,
       kBadField},
      {"READ CD of 10 bytes", Resized(readCd, 10), kSectorSize, kBadField},
      {"READ CD of 16 bytes", Resized(readCd, 16), kSectorSize, kBadField},
      {"any sector type", Patched(readCd, 1, 0x00), kSectorSize, kBadField},
      {"CD-DA sector type", Patched(readCd, 1, 0x04), kSectorSize, kBadField},
      {"Mode 2 formless sector type", Patched(readCd, 1, 0x0C), kSectorSize, kBadField},
      {"Mode 1 with the DAP bit", Patched(readCd, 1, 0x0A), kSectorSize, kBadField},
      {"sync, header and EDC/ECC asked for", Patched(readCd, 9, 0xF8), kSectorSize, kBadField},
      {"sub-channel asked for", Patched(readCd, 10, 0x01), kSectorSize, kBadField},
      {"control byte set", Patched(readCd, 11, 0x01), kSectorSize, kBadField},
      {"transfer length 0", Patched(readCd, 8, 0x00), kSectorSize, kBadField},
      {"buffer a byte short of two sectors", Patched(readCd, 8, 0x02), 2 * kSectorSize - 1,
       kBadField},
      {"READ TOC format 0", Patched(readToc, 2, 0x00), disc::kFullTocBufferSize, kBadField},
      {"READ TOC format 4 (ATIP)", Patched(readToc, 2, 0x04), disc::kFullTocBufferSize, kBadField},
      {"READ TOC in LBA form", Patched(readToc, 1, 0x00), disc::kFullTocBufferSize, kBadField},
      {"READ TOC format in the control byte", Patched(readToc, 9, 0x80), disc::kFullTocBufferSize,
       kBadField},
      {"READ TOC of 12 bytes", Resized(readToc, 12), disc::kFullTocBufferSize, kBadField},
      {"READ TOC from session 3 of 2", Patched(readToc, 6, 0x03), disc::kFullTocBufferSize,
       kBadField},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::size_t before = machine.malformedCommands();
    CdbAnswer answer = Send(*transport, c.cdb, c.bufferSize);
    EXPECT_TRUE(answer.result.delivered);
    EXPECT_EQ(answer.result.status, kScsiStatusCheckCondition);
    EXPECT_EQ(answer.result.bytesTransferred, 0u);
    std::span<const std::uint8_t> sense(answer.result.sense.data(), answer.result.senseLength);
    ASSERT_GE(sense.size(), 14u);
    EXPECT_EQ(sense[0], 0x70);  // fixed format
    disc::SenseCode code = disc::ParseSense(sense);
    EXPECT_EQ(code.key, disc::kSenseIllegalRequest);
    EXPECT_EQ(code.asc, c.asc);
    EXPECT_EQ(machine.malformedCommands(), before + 1);
    ASSERT_FALSE(machine.commands().empty());
    const RecordedCommand& recorded = machine.commands().back();
    EXPECT_EQ(recorded.kind, RecordedCommand::Kind::kCdb);
    EXPECT_FALSE(recorded.accepted);
    EXPECT_EQ(recorded.cdb, c.cdb);
  }
}

TEST_F(EmulatedDriveTest, FullTocDescribesEverySessionUnderItsPoints) {
  // Session 1 has no end of its own and, on this image without descriptors, no
  // volume to end with: it ends the shortest gap a CD has between sessions (a
  // later lead-out, a lead-in and a pregap) before session 2. Session 3 runs to
  // the end of the image.
  constexpr Lba kImageSectors = 45000;
  EmulatedDisc disc;
  disc.imagePath = SparseImage(dir_ / "three-sessions.iso", kImageSectors).string();
  disc.tracks = {TrackNode{1, 150, 0}, TrackNode{2, 30150, 33000}, TrackNode{3, 40150, 0}};
  disc.xaTracks = {2, 3};
  struct Session {
    std::uint8_t track;
    std::uint32_t startFrames;
    Lba end;
  };
  const Session sessions[] = {
      {1, 150, 30000 - 6900}, {2, 30150, 33000}, {3, 40150, kImageSectors}};

  struct Case {
    TocStyle style;
    const char* name;
    bool hasC0;
    bool hasSkipPointers;
    // Descriptor 2, then 3 + 5 × (s − 1): where the A2 points lie in the usual layout.
    bool positionalRuleFindsA2;
  };
  const Case cases[] = {
      {TocStyle::kUsual, "usual", true, false, true},
      {TocStyle::kNoC0, "no C0", false, false, false},
      {TocStyle::kReordered, "reordered", true, false, false},
      {TocStyle::kAdr5Points, "ADR 5 skip pointers", true, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    disc.tocStyle = c.style;
    EmulatedMachine machine;
    machine.InsertDisc(0, disc);
    OpenError error;
    auto transport = machine.OpenPassThrough(kDrive, error);
    ASSERT_TRUE(transport);
    CdbAnswer answer = Send(*transport, disc::BuildReadFullToc(), disc::kFullTocBufferSize);
    ASSERT_EQ(answer.result.status, kScsiStatusGood);

    std::span<const std::byte> response(answer.data.data(), answer.result.bytesTransferred);
    ASSERT_GE(response.size(), 4u);
    std::size_t dataLength =
        static_cast<std::size_t>(response[0]) << 8 | static_cast<std::size_t>(response[1]);
    EXPECT_EQ(dataLength + 2, response.size());
    EXPECT_EQ(static_cast<int>(response[2]), 1);  // first session
    EXPECT_EQ(static_cast<int>(response[3]), 3);  // last session
    EXPECT_EQ((response.size() - 4) % 11, 0u);
    std::vector<TocDescriptor> descriptors = Descriptors(response);

    bool ruleFindsEveryA2 = true;
    for (std::uint8_t s = 1; s <= 3; ++s) {
      SCOPED_TRACE("session " + std::to_string(s));
      const Session& want = sessions[s - 1];
      auto a0 = Find(descriptors, s, 1, 0xA0);
      auto a1 = Find(descriptors, s, 1, 0xA1);
      auto a2 = Find(descriptors, s, 1, 0xA2);
      auto track = Find(descriptors, s, 1, want.track);
      ASSERT_TRUE(a0 && a1 && a2 && track);
      EXPECT_EQ(a0->pmin, want.track);
      EXPECT_EQ(a0->psec, 0x20);  // CD-ROM XA
      EXPECT_EQ(a1->pmin, want.track);
      EXPECT_EQ(a2->pointTime, want.end + 150);
      EXPECT_EQ(track->pointTime, want.startFrames);
      EXPECT_EQ(track->adrControl, 0x14);  // ADR 1, data track
      auto next = Find(descriptors, s, 5, 0xB0);
      if (s < 3) {
        ASSERT_TRUE(next);
        EXPECT_EQ(next->time, sessions[s].startFrames);
      } else {
        EXPECT_FALSE(next) << "the last session is closed";
      }
      EXPECT_EQ(Find(descriptors, s, 5, 0xC0).has_value(), c.hasC0 && s == 1);
      EXPECT_EQ(Find(descriptors, s, 5, 0x01).has_value(), c.hasSkipPointers);
      auto tracksOfSession =
          std::count_if(descriptors.begin(), descriptors.end(), [&](const TocDescriptor& d) {
            return d.session == s && d.adrControl >> 4 == 1 && d.point >= 1 && d.point <= 99;
          });
      EXPECT_EQ(tracksOfSession, 1);

      std::size_t index = s == 1 ? 2 : 3 + 5 * (s - 1);
      ruleFindsEveryA2 = ruleFindsEveryA2 && index < descriptors.size() &&
                         descriptors[index].session == s && descriptors[index].point == 0xA2;
    }
    EXPECT_EQ(ruleFindsEveryA2, c.positionalRuleFindsA2);
  }
}

TEST_F(EmulatedDriveTest, FullTocHonoursStartSessionAllocationLengthAndRefusal) {
  struct Case {
    const char* name;
    std::uint8_t startSession;
    std::uint16_t allocationLength;
    std::size_t bufferSize;
    bool unsupported;
    std::uint8_t status;
    std::size_t bytes;
    std::vector<std::uint8_t> sessionsListed;
  };
  // Two sessions of the usual layout: session 1 has A0, A1, A2, track, B0, C0 and
  // session 2 A0, A1, A2, track, so the whole answer is 4 + 10 × 11 = 114 bytes.
  const Case cases[] = {
      {"whole answer", 1, 2048, 4096, false, kScsiStatusGood, 114, {1, 2}},
      {"session 0 reads as session 1", 0, 2048, 4096, false, kScsiStatusGood, 114, {1, 2}},
      {"from session 2", 2, 2048, 4096, false, kScsiStatusGood, 4 + 4 * 11, {2}},
      {"allocation length cuts a descriptor", 1, 20, 4096, false, kScsiStatusGood, 20, {1}},
      {"buffer cuts the answer", 1, 2048, 15, false, kScsiStatusGood, 15, {1}},
      {"drive without full TOC", 1, 2048, 4096, true, kScsiStatusCheckCondition, 0, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EmulatedDisc disc = TwoSessionDisc();
    disc.fullTocUnsupported = c.unsupported;
    EmulatedMachine machine;
    machine.InsertDisc(0, disc);
    OpenError error;
    auto transport = machine.OpenPassThrough(kDrive, error);
    ASSERT_TRUE(transport);
    auto cdb = disc::BuildReadFullToc();
    cdb[6] = c.startSession;
    cdb[7] = static_cast<std::uint8_t>(c.allocationLength >> 8);
    cdb[8] = static_cast<std::uint8_t>(c.allocationLength);
    CdbAnswer answer = Send(*transport, cdb, c.bufferSize);
    EXPECT_EQ(answer.result.status, c.status);
    EXPECT_EQ(answer.result.bytesTransferred, c.bytes);
    EXPECT_EQ(machine.malformedCommands(), 0u);
    if (c.status != kScsiStatusGood) {
      disc::SenseCode code =
          disc::ParseSense({answer.result.sense.data(), answer.result.senseLength});
      EXPECT_EQ(code.key, disc::kSenseIllegalRequest);
      EXPECT_EQ(code.asc, 0x24);
      continue;
    }
    // The header always tells the whole length, however much of it arrived.
    std::size_t wholeLength =
        static_cast<std::size_t>(answer.data[0]) << 8 | static_cast<std::size_t>(answer.data[1]);
    EXPECT_EQ(wholeLength + 2, c.startSession == 2 ? 4 + 4 * 11u : 114u);
    std::vector<std::uint8_t> listed;
    for (const TocDescriptor& d : Descriptors({answer.data.data(), c.bytes})) {
      if (listed.empty() || listed.back() != d.session) listed.push_back(d.session);
    }
    EXPECT_EQ(listed, c.sessionsListed);
  }
}

TEST_F(EmulatedDriveTest, CookedTocListsEveryTrackThenTheLeadOut) {
  struct Case {
    const char* name;
    std::vector<TrackNode> tracks;
    std::uint8_t firstTrack;
    std::uint8_t lastTrack;
    std::vector<std::uint32_t> startFrames;
    std::uint32_t leadOutFrames;
  };
  const Case cases[] = {
      {"single track", {}, 1, 1, {150}, 30 + 150},
      {"two sessions", {TrackNode{1, 150, 10}, TrackNode{2, 170, 25}}, 1, 2, {150, 170}, 25 + 150},
      {"last session to the image's end",
       {TrackNode{1, 150, 10}, TrackNode{2, 170, 0}},
       1,
       2,
       {150, 170},
       30 + 150},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EmulatedDisc disc = TwoSessionDisc();
    disc.tracks = c.tracks;
    EmulatedMachine machine;
    machine.InsertDisc(0, disc);
    OpenError error;
    auto drive = machine.OpenDevice(kDrive, error);
    ASSERT_TRUE(drive);
    std::optional<Toc> toc = drive->ReadToc();
    ASSERT_TRUE(toc);
    EXPECT_EQ(toc->firstTrack, c.firstTrack);
    EXPECT_EQ(toc->lastTrack, c.lastTrack);
    ASSERT_EQ(toc->entries.size(), c.startFrames.size() + 1);
    for (std::size_t i = 0; i < c.startFrames.size(); ++i) {
      const TocEntry& entry = toc->entries[i];
      EXPECT_EQ(FramesOf(entry.reserved, entry.minute, entry.second, entry.frame),
                c.startFrames[i]);
      EXPECT_EQ(entry.control & 0x04, 0x04);  // data track
    }
    const TocEntry& leadOut = toc->entries.back();
    EXPECT_EQ(leadOut.trackNumber, kLeadOutTrack);
    EXPECT_EQ(FramesOf(leadOut.reserved, leadOut.minute, leadOut.second, leadOut.frame),
              c.leadOutFrames);
    EXPECT_EQ(drive->Size(), std::uint64_t{c.leadOutFrames - 150} * kSectorSize);
  }
}

TEST_F(EmulatedDriveTest, XaTrackRefusesMode1AndAcceptsMode2Form1) {
  EmulatedDisc disc = TwoSessionDisc();
  disc.xaTracks = {2};
  EmulatedMachine machine;
  machine.InsertDisc(0, disc);
  OpenError error;
  auto transport = machine.OpenPassThrough(kDrive, error);
  ASSERT_TRUE(transport);
  struct Case {
    const char* name;
    Lba lba;
    std::uint32_t count;
    std::uint8_t sectorType;
    bool good;
  };
  const Case cases[] = {
      {"Mode 1 track as Mode 1", 0, 4, disc::kSectorTypeMode1, true},
      {"Mode 1 track as Mode 2 Form 1", 0, 4, disc::kSectorTypeMode2Form1, false},
      {"XA track as Mode 1", 20, 4, disc::kSectorTypeMode1, false},
      {"last sector of the XA track as Mode 1", 29, 1, disc::kSectorTypeMode1, false},
      {"XA track as Mode 2 Form 1", 20, 4, disc::kSectorTypeMode2Form1, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CdbAnswer answer =
        Send(*transport, disc::BuildReadCd(c.lba, c.count, c.sectorType), c.count * kSectorSize);
    ASSERT_TRUE(answer.result.delivered);
    if (c.good) {
      EXPECT_EQ(answer.result.status, kScsiStatusGood);
      ASSERT_EQ(answer.result.bytesTransferred, c.count * kSectorSize);
      EXPECT_TRUE(
          std::ranges::equal(answer.data, Content(c.lba * kSectorSize, c.count * kSectorSize)));
    } else {
      EXPECT_EQ(answer.result.status, kScsiStatusCheckCondition);
      EXPECT_EQ(answer.result.bytesTransferred, 0u);
      disc::SenseCode code =
          disc::ParseSense({answer.result.sense.data(), answer.result.senseLength});
      EXPECT_EQ(code.key, disc::kSenseIllegalRequest);
      EXPECT_EQ(code.asc, disc::kAscIllegalModeForTrack);
    }
  }
  EXPECT_EQ(machine.malformedCommands(), 0u);
}

TEST_F(EmulatedDriveTest, ReadCdAnswersEachFaultAsADriveDoes) {
  EmulatedMachine machine;
  machine.InsertDisc(0, FaultyDisc());
  OpenError error;
  auto transport = machine.OpenPassThrough(kDrive, error);
  ASSERT_TRUE(transport);
  struct Case {
    const char* name;
    Lba lba;
    std::uint32_t count;
    bool delivered;
    std::uint8_t status;
    disc::SenseCode sense;
    std::size_t bytes;
  };
  constexpr disc::SenseCode kNone{};
  constexpr disc::SenseCode kReadError{disc::kSenseMediumError, 0x11, 0};
  constexpr disc::SenseCode kOutOfRange{disc::kSenseIllegalRequest, 0x21, 0};
  const Case cases[] = {
      {"good sectors", 0, 4, true, kScsiStatusGood, kNone, 4 * kSectorSize},
      {"unreadable sector: the command is not carried", 2, 4, false, 0, kNone, 0},
      {"CHECK CONDITION sector", 7, 2, true, kScsiStatusCheckCondition, kReadError, 0},
      {"into the gap after a session", 9, 2, true, kScsiStatusCheckCondition, kReadError, 0},
      {"short sector", 5, 3, true, kScsiStatusGood, kNone, kSectorSize + 100},
      {"slow sector", 23, 2, true, kScsiStatusGood, kNone, 2 * kSectorSize},
      {"across the lead-out", 28, 4, true, kScsiStatusCheckCondition, kOutOfRange, 0},
      {"at the lead-out", 30, 1, true, kScsiStatusCheckCondition, kOutOfRange, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CdbAnswer answer = Send(*transport, disc::BuildReadCd(c.lba, c.count, disc::kSectorTypeMode1),
                            c.count * kSectorSize);
    ASSERT_EQ(answer.result.delivered, c.delivered);
    if (!c.delivered) {
      EXPECT_EQ(answer.result.error, EIO);
      continue;
    }
    EXPECT_EQ(answer.result.status, c.status);
    EXPECT_EQ(answer.result.bytesTransferred, c.bytes);
    disc::SenseCode code =
        disc::ParseSense({answer.result.sense.data(), answer.result.senseLength});
    EXPECT_EQ(code.key, c.sense.key);
    EXPECT_EQ(code.asc, c.sense.asc);
    EXPECT_TRUE(std::ranges::equal(std::span(answer.data).first(c.bytes),
                                   Content(c.lba * kSectorSize, c.bytes)));
  }
  EXPECT_EQ(machine.malformedCommands(), 0u);
}

TEST_F(EmulatedDriveTest, CookedReadsStopWhereTheDiscStopsReading) {
  EmulatedMachine machine;
  machine.InsertDisc(0, FaultyDisc());
  OpenError error;
  auto drive = machine.OpenDevice(kDrive, error);
  ASSERT_TRUE(drive);
  struct Case {
    const char* name;
    std::uint64_t offset;
    std::size_t length;
    bool ok;
    std::size_t bytes;
  };
  const Case cases[] = {
      {"good sectors", 0, 4 * kSectorSize, true, 4 * kSectorSize},
      {"from the middle of a sector", kSectorSize + 1000, kSectorSize, true, kSectorSize},
      {"up to an unreadable sector", 2 * kSectorSize, 4 * kSectorSize, true, 2 * kSectorSize},
      {"at an unreadable sector", 4 * kSectorSize, kSectorSize, false, 0},
      {"a short sector ends the read", 5 * kSectorSize, 3 * kSectorSize, true, kSectorSize + 100},
      {"inside a short sector", 6 * kSectorSize + 40, kSectorSize, true, 60},
      {"at a CHECK CONDITION sector", 8 * kSectorSize, kSectorSize, false, 0},
      {"up to the session's end", 9 * kSectorSize, 3 * kSectorSize, true, kSectorSize},
      {"in the gap between sessions", 12 * kSectorSize, kSectorSize, false, 0},
      {"across a slow sector", 23 * kSectorSize, 2 * kSectorSize, true, 2 * kSectorSize},
      {"up to a short sector of 0 bytes", 25 * kSectorSize, 4 * kSectorSize, true, kSectorSize},
      {"up to the lead-out", 28 * kSectorSize, 4 * kSectorSize, true, 2 * kSectorSize},
      {"at the lead-out: end of file", 30 * kSectorSize, kSectorSize, true, 0},
      {"far past the lead-out", 1000 * kSectorSize, kSectorSize, true, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::byte> buffer(c.length);
    IoResult result = drive->ReadAt(c.offset, buffer);
    EXPECT_EQ(result.ok, c.ok);
    EXPECT_EQ(result.bytes, c.bytes);
    if (!c.ok) {
      EXPECT_EQ(result.error, EIO);
      EXPECT_FALSE(result.reason.empty());
    }
    EXPECT_TRUE(std::ranges::equal(std::span(buffer).first(c.bytes), Content(c.offset, c.bytes)));
    const RecordedCommand& recorded = machine.commands().back();
    EXPECT_EQ(recorded.kind, RecordedCommand::Kind::kCookedRead);
    EXPECT_EQ(recorded.offset, c.offset);
    EXPECT_EQ(recorded.length, c.length);
  }
}

TEST_F(EmulatedDriveTest, FromImageTakesTheTrackListFromATrailerOnly) {
  constexpr std::uint32_t kSectors = 12;
  auto trailerOf = [](bool multiTrack, std::vector<TrackNode> tracks) {
    disc::ImageTrailer trailer;
    trailer.multiTrack = multiTrack;
    trailer.lastTrack = multiTrack ? tracks.back().trackNumber : 0;
    trailer.tracks = std::move(tracks);
    return disc::BuildImageTrailer(trailer);
  };
  std::vector<std::byte> damaged = trailerOf(true, {TrackNode{1, 150, 0}});
  damaged[disc::kTrailerCountOffset] = std::byte{0};

  struct Case {
    const char* name;
    std::optional<std::vector<std::byte>> trailer;  // appended after the sectors
    std::size_t extraBytes;                         // a partial block after everything
    bool opens;
    std::vector<TrackNode> tracks;
    Lba leadOut;
  };
  const Case cases[] = {
      {"plain image", std::nullopt, 0, true, {}, kSectors},
      {"plain image with a partial last block", std::nullopt, 100, true, {}, kSectors},
      {"single-track .cd image", trailerOf(false, {}), 0, true, {}, kSectors},
      {"multi-track .cd image",
       trailerOf(true, {TrackNode{1, 150, 4}, TrackNode{2, 158, 0}}),
       0,
       true,
       {TrackNode{1, 150, 4}, TrackNode{2, 158, 0}},
       kSectors},
      {"session end past the image",
       trailerOf(true, {TrackNode{1, 150, 4}, TrackNode{2, 158, 900}}),
       0,
       true,
       {TrackNode{1, 150, 4}, TrackNode{2, 158, kSectors}},
       kSectors},
      {"damaged track list", damaged, 0, false, {}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::path path = dir_ / (std::to_string(&c - cases) + ".cd");
    content_ = WriteImage(path, kSectors, 3);
    std::vector<std::byte> tail = c.trailer.value_or(std::vector<std::byte>{});
    tail.resize(tail.size() + c.extraBytes, std::byte{0x55});
    velmora::testing::WriteBytes(path, std::uint64_t{kSectors} * kSectorSize, tail);

    std::string reason;
    std::optional<EmulatedDisc> disc = EmulatedDisc::FromImage(path.string(), reason);
    ASSERT_EQ(disc.has_value(), c.opens) << reason;
    if (!disc) {
      EXPECT_NE(reason.find(path.string()), std::string::npos) << reason;
      continue;
    }
    ASSERT_EQ(disc->tracks.size(), c.tracks.size());
    for (std::size_t i = 0; i < c.tracks.size(); ++i) {
      EXPECT_EQ(disc->tracks[i].trackNumber, c.tracks[i].trackNumber);
      EXPECT_EQ(disc->tracks[i].start, c.tracks[i].start);
      EXPECT_EQ(disc->tracks[i].end, c.tracks[i].end);
    }
    EmulatedMachine machine;
    machine.InsertDisc(0, *disc);
    OpenError error;
    auto drive = machine.OpenDevice(kDrive, error);
    ASSERT_TRUE(drive);
    EXPECT_EQ(drive->Size(), std::uint64_t{c.leadOut} * kSectorSize);
    // The trailer is not a sector: the last sector is the image's, then the medium ends.
    std::vector<std::byte> buffer(2 * kSectorSize);
    IoResult result = drive->ReadAt(std::uint64_t{c.leadOut - 1} * kSectorSize, buffer);
    EXPECT_TRUE(result.ok);
    ASSERT_EQ(result.bytes, kSectorSize);
    EXPECT_TRUE(
        std::ranges::equal(std::span(buffer).first(kSectorSize),
                           Content(std::uint64_t{c.leadOut - 1} * kSectorSize, kSectorSize)));
  }

  std::string reason;
  fs::path missing = dir_ / "missing.cd";
  EXPECT_FALSE(EmulatedDisc::FromImage(missing.string(), reason));
  EXPECT_NE(reason.find(missing.string()), std::string::npos) << reason;
}

TEST_F(EmulatedDriveTest, OpenHandlesFollowADiscChange) {
  EmulatedMachine machine;
  OpenError error;
  auto drive = machine.OpenDevice(kDrive, error);
  auto transport = machine.OpenPassThrough(kDrive, error);
  ASSERT_TRUE(drive && transport);

  EmulatedDisc small;
  small.imagePath = (dir_ / "small.iso").string();
  std::vector<std::byte> smallContent = WriteImage(small.imagePath, 8, 11);
  EmulatedDisc twoSessions = TwoSessionDisc();

  struct Step {
    const char* name;
    std::optional<EmulatedDisc> disc;  // nothing: eject
    const std::vector<std::byte>* content;
    std::uint8_t lastTrack;
    Lba leadOut;
  };
  const Step steps[] = {
      {"small disc", small, &smallContent, 1, 8},
      {"changed for two sessions", twoSessions, &content_, 2, 30},
      {"ejected", std::nullopt, nullptr, 0, 0},
      {"small disc again", small, &smallContent, 1, 8},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.name);
    if (step.disc) {
      machine.InsertDisc(0, *step.disc);
    } else {
      machine.EjectDisc(0);
    }
    std::vector<std::byte> buffer(kSectorSize);
    IoResult cooked = drive->ReadAt(0, buffer);
    CdbAnswer answer =
        Send(*transport, disc::BuildReadCd(0, 1, disc::kSectorTypeMode1), kSectorSize);
    std::optional<Toc> toc = drive->ReadToc();
    if (!step.content) {
      EXPECT_FALSE(cooked.ok);
      EXPECT_EQ(cooked.error, ENOMEDIUM);
      EXPECT_EQ(answer.result.status, kScsiStatusCheckCondition);
      disc::SenseCode code =
          disc::ParseSense({answer.result.sense.data(), answer.result.senseLength});
      EXPECT_EQ(code.key, 0x02);  // NOT READY
      EXPECT_EQ(code.asc, 0x3A);  // MEDIUM NOT PRESENT
      EXPECT_FALSE(toc);
      EXPECT_FALSE(drive->Size());
      continue;
    }
    EXPECT_TRUE(std::ranges::equal(buffer, std::span(*step.content).first(kSectorSize)));
    EXPECT_EQ(answer.result.status, kScsiStatusGood);
    EXPECT_TRUE(std::ranges::equal(answer.data, std::span(*step.content).first(kSectorSize)));
    ASSERT_TRUE(toc);
    EXPECT_EQ(toc->lastTrack, step.lastTrack);
    EXPECT_EQ(drive->Size(), std::uint64_t{step.leadOut} * kSectorSize);
  }
}

TEST_F(EmulatedDriveTest, CommandLogHoldsWhatEachDriveWasSentInOrder) {
  EmulatedMachine machine(2);
  EXPECT_EQ(machine.OpticalDrives(), (std::vector<std::string>{"emulated:sr0", "emulated:sr1"}));
  machine.InsertDisc(1, TwoSessionDisc());
  OpenError error;
  EXPECT_FALSE(machine.OpenDevice("emulated:sr2", error));
  EXPECT_EQ(error.error, ENOENT);
  // Any other path is a file of the host: the image itself opens as one.
  auto image = machine.OpenDevice((dir_ / "two-sessions.iso").string(), error);
  ASSERT_TRUE(image);
  EXPECT_EQ(image->Size(), std::uint64_t{30} * kSectorSize);
  auto drive = machine.OpenDevice("emulated:sr1", error);
  auto transport = machine.OpenPassThrough("emulated:sr1", error);
  ASSERT_TRUE(drive && transport);

  std::vector<std::byte> buffer(3 * kSectorSize);
  ASSERT_TRUE(drive->SetMediumRemoval(true));
  EXPECT_TRUE(machine.trayLocked(1));
  EXPECT_FALSE(machine.trayLocked(0));
  drive->ReadAt(5 * kSectorSize, buffer);
  drive->ReadToc();
  const auto readCd = disc::BuildReadCd(20, 2, disc::kSectorTypeMode1);
  transport->Execute(readCd, std::span(buffer).first(2 * kSectorSize), disc::kReadCdTimeout);
  const auto badCd = Patched(readCd, 9, 0xF8);
  transport->Execute(badCd, buffer, disc::kReadCdTimeout);
  ASSERT_TRUE(drive->SetMediumRemoval(false));
  EXPECT_FALSE(machine.trayLocked(1));

  using Kind = RecordedCommand::Kind;
  const std::vector<RecordedCommand>& commands = machine.commands();
  ASSERT_EQ(commands.size(), 6u);
  EXPECT_EQ(commands[0].kind, Kind::kTrayLock);
  EXPECT_TRUE(commands[0].prevent);
  EXPECT_EQ(commands[1].kind, Kind::kCookedRead);
  EXPECT_EQ(commands[1].offset, 5 * kSectorSize);
  EXPECT_EQ(commands[1].length, 3 * kSectorSize);
  EXPECT_EQ(commands[2].kind, Kind::kReadToc);
  EXPECT_EQ(commands[3].kind, Kind::kCdb);
  EXPECT_EQ(commands[3].cdb, std::vector<std::uint8_t>(readCd.begin(), readCd.end()));
  EXPECT_EQ(commands[3].length, 2 * kSectorSize);
  EXPECT_TRUE(commands[3].accepted);
  EXPECT_EQ(commands[4].cdb, badCd);
  EXPECT_FALSE(commands[4].accepted);
  EXPECT_EQ(commands[5].kind, Kind::kTrayLock);
  EXPECT_FALSE(commands[5].prevent);
  EXPECT_EQ(machine.malformedCommands(), 1u);

  machine.ClearCommands();
  EXPECT_TRUE(machine.commands().empty());
  EXPECT_EQ(machine.malformedCommands(), 1u);
}

}  // namespace
}  // namespace velmora::platform::emulated
