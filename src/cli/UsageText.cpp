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

SOURCE is one of:
  drive                       the optical drive (the first, or the one --drive picks)
  PATH                        a drive as 'drives' lists it, a device node, or an image
                              file (a .cd image or a plain ISO 9660 image)

Options:
  --drive N                   'drive' means optical drive N as 'drives' numbers it
  --emulated-drive IMAGE      the machine has one emulated drive, emulated:sr0, with
                              IMAGE in it, in place of its own drives
  --tsv                       ls: one line per entry, fields separated by tabs:
                              path, type (d folder, f file), size in bytes,
                              date (YYYY-MM-DD hh:mm:ss), extent (the File ID).
                              The default when standard output is not a terminal
  --json                      ls: one JSON array of objects
                              {path, type, size, date, extent, parent, session}
  --log FILE                  ls: save the message log to FILE when done
                              (Windows-1252 text, CR LF line ends)
  -h, --help                  show this help

On a terminal without --tsv or --json, ls prints the folder tree with file sizes
and counts the entries found on standard error.

A path is the names below Root joined by "/"; on a multi-session disc it starts
with "Session k/". "?/NAME" is an entry whose folder is not in the listing.
In --tsv lines and in the tree, a tab, line feed, carriage return and backslash
inside a name are written as \t, \n, \r and \\.

Ctrl-C stops the scan or the read and prints what was found so far; a second
Ctrl-C ends the program at once.

Exit status:
  0    done
  1    sectors: some sectors did not read whole; ls: the log could not be written
  2    usage error, or a source or image that cannot be used
  3    ls: CDROM not found / CDROM entirely corrupted
  130  stopped by Ctrl-C
)";
}

}  // namespace velmora::cli
