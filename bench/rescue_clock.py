"""A simulated drive clock for the rescue figure of bench/run.

Both tools read the same disc image with the same bad areas: velmora-cli
through its emulated drive (--emulated-faults MAPFILE, every command written
by --emulated-log), GNU ddrescue in its test mode (-H MAPFILE, every read
written by --log-reads). The wall time of either says nothing about a
drive, so each tool's reads are replayed here, in the order it made them, on
one model of an optical drive:

- a good sector costs its transfer at SPEED (24x: 24 x 153600 bytes a second);
- a read that does not start where the last one ended costs a seek: a fixed
  part and a part that grows with the distance, up to a full stroke;
- a read that reaches a bad sector delivers the good sectors before it, then
  fails after the drive's own tries: FAILED_TRY seconds a try, the read
  retry count of the drive's error recovery page plus one (20 retries, as a
  drive comes: 3.15 s; velmora lowers the count to 1 with MODE SELECT for its
  bulk passes, and puts it back, which the command log shows).
"""

SECTOR = 2048
SPEED = 24 * 153600            # bytes a second at 24x
SEEK_FIXED = 0.015             # seconds for any seek
SEEK_FULL_STROKE = 0.100       # seconds more for a seek across the whole disc
FAILED_TRY = 0.150             # seconds a try of a failed read
DRIVE_RETRIES = 20             # the read retry count a drive comes with


class Faults:
    """The bad sectors of a ddrescue mapfile (every area not '+')."""

    def __init__(self, map_path, sectors):
        self.sectors = sectors
        self.bad = set()
        for begin, size, status in read_map(map_path):
            if status != "+":
                self.bad.update(range(begin // SECTOR, (begin + size + SECTOR - 1) // SECTOR))

    def good_prefix(self, lba, count):
        """Sectors from lba on that read before the first bad one."""
        for k in range(count):
            if lba + k in self.bad or lba + k >= self.sectors:
                return k
        return count


def read_map(path):
    """(begin, size, status) of every area of a ddrescue mapfile."""
    areas = []
    status_line_seen = False
    with open(path) as mapfile:
        for line in mapfile:
            line = line.split("#", 1)[0].strip()
            if not line:
                continue
            if not status_line_seen:  # the current position and pass
                status_line_seen = True
                continue
            begin, size, status = line.split()[:3]
            areas.append((int(begin, 0), int(size, 0), status))
    return areas


def finished_bytes(path):
    return sum(size for _, size, status in read_map(path) if status == "+")


class Clock:
    """Replays reads on the drive model; remembers when each sector came."""

    def __init__(self, sectors):
        self.sectors = sectors
        self.seconds = 0.0
        self.position = 0
        self.retries = DRIVE_RETRIES
        self.reads = 0
        self.failed_reads = 0
        self.sectors_read = 0
        self.arrived = {}  # lba -> simulated second it first arrived

    def read(self, lba, count, delivered, failed):
        if lba != self.position:
            self.seconds += SEEK_FIXED + SEEK_FULL_STROKE * abs(lba - self.position) / self.sectors
        self.seconds += delivered * SECTOR / SPEED
        for k in range(delivered):
            self.arrived.setdefault(lba + k, self.seconds)
        self.reads += 1
        self.sectors_read += delivered
        if failed:
            self.failed_reads += 1
            self.seconds += FAILED_TRY * (self.retries + 1)
            self.position = lba + delivered + 1
        else:
            self.position = lba + count

    def time_until(self, wanted):
        """The simulated second by which every sector of wanted that ever
        arrived had arrived."""
        times = [self.arrived[lba] for lba in wanted if lba in self.arrived]
        return max(times) if times else 0.0


def replay_emulated_log(log_path, faults, honour_mode_select=True):
    """The clock of velmora-cli's run from its emulated drive's command log;
    without honour_mode_select the drive keeps its 20 retries throughout (what
    the order of the reads alone is worth)."""
    clock = Clock(faults.sectors)
    with open(log_path) as log:
        for line in log:
            words = line.split()
            if not words:
                continue
            if words[0] in ("read", "readcd"):
                lba, count = int(words[1]), int(words[2])
                delivered = faults.good_prefix(lba, count)
                clock.read(lba, count, delivered, delivered < count)
            elif words[0] == "cdb" and words[1][:2].lower() == "55" and "data" in words:
                # MODE SELECT(10): an 8-byte header, then the page; its byte 3
                # is the read retry count.
                data = bytes.fromhex(words[words.index("data") + 1])
                if honour_mode_select and len(data) > 11 and data[8] & 0x3F == 0x01:
                    clock.retries = data[11]
    return clock


def replay_ddrescue_reads(reads_path, faults):
    """The clock of ddrescue's run from its --log-reads file."""
    clock = Clock(faults.sectors)
    with open(reads_path) as log:
        for line in log:
            if line.startswith("#") or not line.strip():
                continue
            position, size, copied, _ = line.split()[:4]
            lba, count = int(position, 0) // SECTOR, int(size) // SECTOR
            delivered = int(copied) // SECTOR
            clock.read(lba, count, delivered, delivered < count)
    return clock
