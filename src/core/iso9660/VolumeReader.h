#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "disc/CCDReader.h"
#include "iso9660/RockRidge.h"
#include "iso9660/ScanSink.h"
#include "iso9660/SessionGeometry.h"
#include "iso9660/VolumeDescriptor.h"

namespace velmora::disc {

enum class NameEncoding : std::uint8_t { kSixteenBit = 1, kEightBit = 2 };
enum class PathTableOrder : std::uint8_t { kTypeL = 1, kTypeM = 2 };

// A path table that can be read.
struct PathTableSource {
  Lba lba = 0;
  std::uint32_t sectorCount = 0;
  PathTableOrder order = PathTableOrder::kTypeL;
  NameEncoding encoding = NameEncoding::kEightBit;
};

// Directory and path-table lengths are never trusted past this, whatever a
// record claims: a CD cannot hold a directory this large.
inline constexpr std::uint32_t kMaxDirectoryBytes = 64u << 20;

// Turns the sectors of one session into work records: finds the volume
// descriptor, reads the root directory (or the path table) and walks every
// folder breadth first. Sessions without a usable descriptor go to the
// recovery scans, which use the walks below.
class VolumeReader {
 public:
  VolumeReader(CCDReader& reader, ScanSink& sink);

  // Descriptor search and, failing it, the recovery pass. Returns true during
  // image creation once a descriptor is loaded, and after a supplementary
  // descriptor was walked.
  bool FindVolume(const SessionGeometry& session);

  // Reads the descriptor at session-relative sector s; false when it does not
  // read whole.
  bool LoadVolumeInfo(std::uint32_t relativeSector);
  // Reads the volume that the loaded descriptor describes.
  void ReadVolumeTree(bool sixteenBit);
  // The folder walk. fromPathTable false: start with the directory at lba of
  // byteLength bytes (a fresh work list); true: start at the first folder that a
  // path table gave. reportEnd logs the completion. Returns false only when the
  // first read fails.
  bool WalkFolders(bool fromPathTable, bool sixteenBit, Lba lba, std::uint32_t byteLength,
                   bool reportEnd);
  // Logs the completion of the session's walks, unless a walk did.
  void FinishWalks();
  // Adds the top-level folders of the first usable path-table source; fresh
  // starts a new work list, walkAfter walks the folders afterwards. In
  // recovery mode the table has the names of encoding (by default 16-bit ones
  // when there are any).
  void WalkPathTable(bool fresh, bool walkAfter, bool sixteenBit,
                     std::optional<NameEncoding> encoding = std::nullopt);

  // Reads count sectors at session-relative sector s (absolute base + s).
  bool ReadRelative(std::uint32_t relativeSector, std::uint32_t count, std::span<std::byte> buffer,
                    std::uint32_t& bytesRead);
  // The length worth reading of a structure at lba that claims length bytes.
  std::uint32_t BoundedLength(Lba lba, std::uint32_t length) const;

  const SessionGeometry& session() const { return session_; }
  const std::optional<VolumeInfo>& volumeInfo() const { return volumeInfo_; }
  std::vector<PathTableSource>& pathTableSources() { return pathTableSources_; }
  std::uint8_t sixteenBitPathTables = 0;
  bool encodingSettled = false;
  bool recoveryMode = false;
  // A walk saw the stop request: the session's remaining walks are skipped.
  bool aborted() const { return aborted_; }
  // Lets the window breathe during the recovery scans; true when the user asked to stop.
  bool PollStop() { return sink_.StopRequested(); }
  // Ends the session's walks after a stop and logs "Process Aborted", once.
  void Abort();
  const std::vector<WorkRecord>& workList() const { return workList_; }
  // Records accepted in this session, named or not.
  std::uint32_t acceptedRecords() const { return acceptedRecords_; }
  // A root directory (or a path-table folder) of this session read as a
  // directory: a volume with no entries is then an empty file system.
  bool treeRead() const { return treeRead_; }
  // The session carried the names its geometry asked for (true for kAuto).
  bool namesFound() const { return namesFound_; }
  // The names the session carries, whichever were asked for (not looked for
  // during image creation).
  const NameSets& namesCarried() const { return namesCarried_; }

 private:
  // One file or folder of a directory: its record, and for a file recorded in
  // several extents the parts after the first.
  struct FolderItem {
    DirectoryRecord record;
    std::uint64_t size = 0;
    std::vector<FilePart> moreParts;
    bool keepVersion = false;
  };

  // Reads the folder at extent (sectors whole sectors) into buffer_; false,
  // with the damage named in the log, when it did not read whole as a
  // directory. delivered: the bytes the read delivered.
  bool ReadFolder(Lba extent, std::uint32_t sectors, std::uint32_t& delivered);
  // Reads the directory at extent of length bytes (bounded by the medium)
  // into out: its first sector alone, then the rest only when that starts
  // with the directory's "." record. Returns the bytes delivered, 0 when the
  // first sector did not read or holds no directory.
  std::uint32_t ReadDirectoryBytes(Lba extent, std::uint32_t length, std::vector<std::byte>& out);
  // Parses the records of one folder: buffer holds the bytes the read
  // delivered, nothing past them.
  void ParseFolder(std::span<const std::byte> buffer, std::uint32_t folderExtent, bool rootChildren,
                   bool sixteenBit);
  // The records after "." and "..", a file of several extents joined into one.
  std::vector<FolderItem> FolderItems(std::span<const std::byte> buffer) const;
  void Accept(const FolderItem& item, bool rootChildren, std::uint32_t folderExtent);
  // Fills date, time and data length of a folder from its "." record, when
  // that reads and holds a real time.
  void ReadFolderStamp(WorkRecord& record);
  // Names a folder that did not read whole in the log and counts it.
  void ReportDamagedFolder(Lba extent, std::uint16_t what);
  // A file of a later session that an earlier session listed already (its
  // extent, name, size and link target set).
  bool ListedInEarlierSession(const WorkRecord& file);
  // The folder's path below the session's top, from the names accepted.
  std::u16string FolderPath(Lba extent) const;
  // Reads the tree of the descriptor at relative sector s; true when it gave
  // anything (or a readable empty root).
  bool ReadTreeOf(std::uint32_t relativeSector, bool sixteenBit);
  void ResetWalk();

  // A file or folder of the other tree, for the union with the shown one.
  struct OtherItem {
    WorkRecord work;
    std::uint32_t directoryLength = 0;  // a folder's
  };
  // The other tree's folders read during one union, by extent (nothing for
  // one that does not read as a directory).
  using OtherFolders = std::unordered_map<Lba, std::optional<std::vector<OtherItem>>>;
  // After a walk of one tree: the copy in the other tree (of the descriptor
  // at relative sector otherSector, Joliet when otherSixteenBit) of every
  // folder that did not read gives its entries. After a Joliet walk with
  // allNames, what the Joliet tree lacks is added under its primary name.
  // Folders of the two trees are paired by the extents of the files they
  // hold; nothing a listed entry covers by its extent is added again.
  void MergeOtherTree(std::uint32_t otherSector, bool otherSixteenBit);
  // The records of a directory of the other tree, names in 16 bits when
  // sixteenBit; nothing when it does not read as a directory.
  std::optional<std::vector<OtherItem>> ReadOtherFolder(Lba extent, std::uint32_t length,
                                                        bool sixteenBit);
  // ReadOtherFolder, once per extent of a union.
  const std::optional<std::vector<OtherItem>>& OtherFolder(OtherFolders& folders, const OtherItem& folder,
                                                           bool sixteenBit);
  // The extents of the files that tell which folder of the other tree a
  // folder's copy is: those it holds, else those of the nearest level below
  // it that holds any (as far as a few levels and reads go).
  // The indexes in the work list of the shown folders, by Parent ID.
  using ShownFolders = std::unordered_map<std::int32_t, std::vector<std::size_t>>;
  std::vector<Lba> ShownFilesBelow(Lba folderExtent, const ShownFolders& shownFolders) const;
  std::vector<Lba> OtherFilesBelow(OtherFolders& folders, const OtherItem& folder, bool sixteenBit);
  // True when a file of the other tree is listed already: one with data by
  // its extent anywhere in the session, an empty one by its extent in the
  // folder it would go to (empty files often share an extent).
  bool Covered(const WorkRecord& file, std::int32_t parentId) const;
  // Notes a listed file for Covered.
  void NoteListedFile(std::int32_t parentId, Lba extent, std::uint64_t size);
  // Hands item to the scan below parentId, and for a folder everything below
  // it in the other tree, leaving out what is covered: a folder is added when
  // it leads to a file not covered, or, when damaged (the folder it goes to
  // did not read whole), when it holds no file this session lists elsewhere.
  // Returns the entries added.
  std::uint32_t AddOtherSubtree(const OtherItem& item, std::int32_t parentId, std::set<Lba>& visited,
                                bool sixteenBit, bool damaged, OtherFolders& folders);
  // The skip length of the SP entry in the root's "." record of the primary
  // descriptor at relative sector s, when that root carries Rock Ridge (SP
  // with an ER or RRIP entries); nothing otherwise.
  std::optional<std::uint8_t> RockRidgeOf(std::uint32_t relativeSector);
  // When the root's "." record does not read: Rock Ridge entries in the
  // records of a top-level folder (its "." and its copy of the root's ".."),
  // found from the path table, tell that the volume has them; nothing, with
  // rockRidgeUnknown_ set, when none of them reads.
  std::optional<std::uint8_t> RockRidgeBelowRoot();
  // The Rock Ridge entries of a record of the walked tree.
  RockRidgeRecord RockRidgeEntries(const DirectoryRecord& record) const;
  // True for RR_MOVED in the root when every record it holds is a folder
  // relocated elsewhere (RE): it is then not listed, and its records wait
  // for their CL records (movedAway_).
  bool AllWentHome(const DirectoryRecord& record);
  // At the end of a walk: the relocated folders that no CL record led to
  // (the folder holding it did not read) are listed where they were moved,
  // with the relocation folder when it was left out. True when any was.
  bool ListFoldersNotHome();
  static std::vector<std::byte> RecordBytes(const DirectoryRecord& record);
  void ReportRockRidge(std::uint32_t folderExtent, const std::u16string& name, std::uint16_t what);
  bool ReadPathTableSource(const PathTableSource& source, std::vector<std::byte>& data,
                           bool& whole);

  CCDReader& reader_;
  ScanSink& sink_;
  SessionGeometry session_;
  std::optional<VolumeInfo> volumeInfo_;
  std::vector<PathTableSource> pathTableSources_;
  std::vector<WorkRecord> workList_;
  std::set<std::uint32_t> walkedExtents_;
  // Every sector read as a folder's records in this session.
  std::unordered_set<Lba> listedSectors_;
  struct FolderName {
    std::u16string name;
    std::int32_t parentId = 0;
  };
  std::unordered_map<std::uint32_t, FolderName> folderNames_;
  // The files the walk listed, for the union with the other tree (kept only
  // when the session has both): every extent of a file with data, and the
  // empty files by folder (Parent ID << 32 | extent).
  bool keepFilesForUnion_ = false;
  std::unordered_set<Lba> listedFileExtents_;
  std::unordered_set<std::uint64_t> listedEmptyFiles_;
  // The extents of the listed files of each folder, by Parent ID.
  std::unordered_map<std::int32_t, std::vector<Lba>> filesIn_;
  // The folders of this walk that did not read, by extent: what failed.
  std::unordered_map<std::uint32_t, std::uint16_t> damagedFolders_;
  std::vector<std::byte> buffer_;
  std::uint32_t acceptedRecords_ = 0;
  std::uint32_t offsetsOutOfRange_ = 0;
  bool aborted_ = false;
  bool sixteenBitNames_ = false;
  bool treeRead_ = false;
  bool completionLogged_ = false;
  // Something of this volume did not read (a folder, a Rock Ridge area): its
  // walk ends as one with errors.
  bool damageCounted_ = false;
  bool namesFound_ = true;
  NameSets namesCarried_;
  // A folder record left out of the listing for a relocation, kept (its
  // bytes) until the walk ends and shows whether it went home.
  struct MovedRecord {
    std::vector<std::byte> bytes;
    std::uint32_t folderExtent = 0;
    bool rootChildren = false;
  };
  std::vector<MovedRecord> movedAway_;          // RE folders
  std::vector<MovedRecord> relocationFolders_;  // RR_MOVED, when all went home
  std::unordered_set<Lba> listedThoughMoved_;
  // The walk takes names, links and relocations from Rock Ridge entries.
  bool rockRidge_ = false;
  // No copy of the root's records read: whether the volume has Rock Ridge is
  // not known.
  bool rockRidgeUnknown_ = false;
  std::uint8_t rockRidgeSkip_ = 0;
  ContinuationReader continuationReader_;
};

}  // namespace velmora::disc
