#include "UsageText.h"

namespace velmora::cli {

std::string_view UsageText() {
  return R"(Usage: velmora-cli [OPTIONS] COMMAND [ARGUMENTS]

Orvane Velmora CDROM on the command line: reads the ISO 9660 file system of a
CD-ROM, or of an image of one, where the operating system no longer can.

Commands:
  drives                      list the optical drives, one "INDEX<TAB>PATH" line each
  sectors SOURCE FIRST COUNT  write COUNT sectors of 2048 bytes from logical block
                              FIRST on to standard output, which must not be a
                              terminal. A sector that does not read whole is written
                              as the bytes that did arrive followed by 0xF6 bytes
                              (2048 bytes of 0xF6 when none arrived)
  ls SOURCE                   scan the disc and list every folder and file it holds
  find SOURCE PATTERN         scan the disc as ls does and print the path of every
                              entry whose name matches PATTERN, one per line, in
                              the order of the window's Find and Find Next (see
                              Names). Root itself is not printed
  image SOURCE OUT            copy the disc sector by sector into the image file OUT
                              (".cd" is appended unless OUT ends in ".cd"): block k
                              holds sector k, an unreadable sector is a block of
                              0xF6 bytes, and the last block lists the tracks. The
                              image opens as a SOURCE. Beside it, OUT.map tells
                              which blocks read, in GNU ddrescue's mapfile format;
                              ls and recover take the blocks it does not give as
                              read for unreadable, never their 0xF6 bytes for data.
                              With --rescue: in passes, what matters first (the
                              folders, then the files' sectors; the mask and
                              --select choose the files), then the rest skipping
                              past errors, then trimming and scraping what
                              failed; the map is saved after every read and the
                              same command resumes from it
  recover SOURCE DEST         scan the disc as ls does, then save its files into the
                              folder DEST (made when only DEST itself is missing),
                              with their folders and recording times. A file is never
                              overwritten: a name taken at DEST gets a number. Bytes
                              that do not read are zeros in the file. From Rock
                              Ridge: symbolic links are made as links (never
                              followed), and permissions, less the umask and
                              never setuid, setgid or sticky, are set

SOURCE is one of:
  drive                       the optical drive (the first, or the one --drive picks)
  PATH                        a drive as 'drives' lists it, a device node, or an image
                              file (a .cd image or a plain ISO 9660 image)

Options:
  --drive N                   'drive' means optical drive N as 'drives' numbers it
  --emulated-drive IMAGE      the machine has one emulated drive, emulated:sr0, with
                              IMAGE in it, in place of its own drives
  --emulated-faults FILE      the sectors of the emulated drive's disc that read
                              badly: one a line, 'LBA unreadable', 'LBA short
                              BYTES', 'LBA check', 'LBA slow MS' or 'LBA gone';
                              or a GNU ddrescue mapfile, whose areas not
                              finished ('+') do not read. For tests also 'LBA
                              flaky TRIES' (reads at that try) and 'LBA hold
                              FILE [READ]' (at that read of the sector the drive
                              makes FILE and waits until it is removed)
  --emulated-log FILE         write every command the emulated drive receives to
                              FILE as it comes, a line each ('read LBA COUNT' of
                              the drive read as a file, 'readcd LBA COUNT',
                              'cdb HEX [data HEX]', 'toc', 'tray 0|1')
  --tsv                       ls: one line per entry, fields separated by tabs:
                              path, type (d folder, f file, l symbolic link),
                              size in bytes, date (YYYY-MM-DD hh:mm:ss), extent
                              (the File ID); a link's line adds its target.
                              The default when standard output is not a terminal
  --json                      ls: one JSON array of objects {path, type, size,
                              date, instant, extent, parent, session, mode},
                              with target for a link (type "l"); instant is
                              the recorded time with its offset from GMT in ISO
                              8601 ("2020-01-15T17:30:00+05:30"). date and instant
                              are null where the disc holds no real time (empty
                              in --tsv). mode is the Rock Ridge mode, file type
                              and permission bits as six octal digits
                              ("100644": a file, rw-r--r--), null without one
  --all-names                 ls, find, recover: list also the files and folders
                              that only the ISO 9660 tree holds (hidden from the
                              Joliet tree), under their ISO 9660 names; the log
                              counts them
  --codepage NAME             ls, find, recover: read 8-bit names that are not
                              UTF-8 in code page NAME (any name iconv knows:
                              cp1251, cp866, shift_jis ...); the default is
                              Windows-1252
  --names auto|rockridge|joliet|primary
                              ls, find, recover: the names shown; auto (the
                              default) takes Rock Ridge names when the disc has
                              them, else Joliet, else the ISO 9660 names
  --log FILE                  ls, find, image, recover: write the message log to FILE
                              as it goes (text in the locale's character set, CR
                              LF line ends); /dev/stdout or /dev/stderr take it
                              after what is written there
  --rescue                    image: copy in passes with a map; see image above
  --retries N                 image --rescue: N more passes over the bad sectors,
                              alternating direction
  --speed X                   image --rescue: the drive's read speed for the retry
                              passes, X times 176 kB/s (SET CD SPEED)
  --merge                     image --merge OTHER OUT: fill what OUT and its map
                              still lack from OTHER, another image (or a drive) of
                              the same disc
  --overwrite                 image: replace OUT when it exists; ls, find, image,
                              recover: let --log and --report replace a file
                              that is not a log or report of velmora-cli
  --match-case                find: letters of PATTERN match only in their own case
  --select PATTERN            recover: only the entries whose path (as ls prints it)
                              matches PATTERN, and everything below a folder that
                              matches, with the folders on the way; image --rescue:
                              the sectors of those files first, then the rest.
                              "*" stands for any run of characters, "/" included,
                              "?" for one; letters match without regard to case.
                              May be repeated
  --include TEXT              recover: only the files whose name matches TEXT (see
                              File filters). May be repeated
  --exclude TEXT              recover: all files but those whose name matches TEXT.
                              May be repeated; --include and --exclude do not mix
  --report FILE               recover: write one line per file to FILE: status
                              (recovered, partial, failed, stopped, already
                              there, link), path on the disc,
                              unreadable bytes as first-last ranges, saved path;
                              then a summary line
  --resume                    recover: continue an earlier recovery into DEST:
                              a file there with the disc's size and time is kept
                              ("already there"); one it left partial or stopped
                              is read again and replaced once its data proves to
                              be the disc's; nothing else there is ever written
  -h, --help                  show this help
  --version                   show the version and the licence (GPL-3.0-or-later)

File mask (ls, find, recover, image --rescue): the command works on the tree the
window's File Mask shows: the files that pass every test given, with their
folders; image --rescue reads the sectors of those files first, then the rest.
  --mask TEXT                 names: pieces separated by ";", each a pattern over
                              the whole name (see Names); a piece without "*" or
                              "?" and without a dot, or starting with one, names
                              an extension ("txt", ".txt" as "*.txt"). "*.*"
                              takes every file
  --mask-match-case           --mask compares letters in their own case
  --min-kb N                  files of at least N x 1000 bytes
  --max-kb N                  files of less than N x 1000 bytes
  --days N                    files dated in the last N days: from the day N
                              calendar days before today (UTC) on
  --months N                  files dated in the last N months: from the same day
                              N calendar months before today on
  --between DATE DATE         files dated from the earlier to the later DATE, both
                              days included; DATE is YYYY-MM-DD

On a terminal without --tsv or --json, ls prints the folder tree with file sizes
and counts the entries found on standard error.

A path is the names below Root joined by "/"; on a multi-session disc it starts
with "Session k/". "?/NAME" is an entry whose folder is not in the listing.
In --tsv lines and in the tree, a tab, line feed, carriage return and backslash
inside a name are written as \t, \n, \r and \\.

Names: in a PATTERN, "*" stands for any run of characters (none included), "?"
for one, and every other character for itself, letters without regard to case
(Unicode case folding). A pattern is matched against the whole name; one ending
in ".*" also takes names without a dot ("abc.*" takes ABC and abc.txt).

File filters: a TEXT names an extension when it has no dot or starts with one
("txt", ".txt"), as "*.txt" does; a TEXT with "*" or "?" is a wildcard over the
whole file name; any other TEXT is one whole file name. Letters match without
regard to case, and a TEXT with line breaks holds one such term per line.
Folders are never filtered out.

Ctrl-C stops the scan or the read and prints what was found so far; a second
Ctrl-C ends the program at once. A stopped image ends with its track list and
opens as a SOURCE; a stopped recovery keeps the files saved until then, and
the file it was writing holds the bytes written ("stopped" in the report).

Exit status:
  0    done
  1    find: no entry matched;
       sectors, image: some sectors did not read whole; image: the image could
       not be written; recover: a file was recovered in part, or failed, or
       could not be made at DEST, or DEST took no more files (read-only, full);
       ls, image, recover: the log or the report could not be written
  2    usage error, a source or image that cannot be used, an image OUT that
       exists (without --overwrite) or is the image being read, a DEST that is
       not a folder, whose parent folder is missing or that cannot be written,
       a --report FILE that cannot be written, a --log or --report FILE that
       is a fifo, socket, device, folder or link to nothing, the source, OUT
       or inside DEST, or an existing file not written by
       velmora-cli (without --overwrite), or a --select PATTERN
       that matches no entry (nothing is recovered then)
  3    ls, find, image, recover: CDROM not found / CDROM entirely corrupted
  130  stopped by Ctrl-C
)";
}

}  // namespace velmora::cli
