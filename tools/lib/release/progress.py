"""How far a long step is: "label: done/total (percent)", redrawn in place on a terminal and
printed at each quarter otherwise, so that a log stays short."""
import sys
import time


class Progress:
    def __init__(self, label, total, describe=None, out=sys.stdout):
        self.label, self.total, self.done = label, max(total, 0), 0
        self.describe = describe or (lambda done, total: "%d/%d" % (done, total))
        self.out, self.tty = out, out.isatty()
        self.shown_quarter, self.shown_at = 0, 0.0

    def step(self, count=1):
        self.done += count
        percent = 100 * self.done // self.total if self.total else 100
        if self.tty:
            now = time.monotonic()
            if now - self.shown_at >= 0.2 or self.done >= self.total:
                self.shown_at = now
                self.out.write("\r   %s: %s (%d%%)\033[K" % (self.label, self.describe(self.done, self.total), percent))
                self.out.flush()
        elif percent // 25 > self.shown_quarter and self.done < self.total:
            self.shown_quarter = percent // 25
            self.out.write("   %s: %s (%d%%)\n" % (self.label, self.describe(self.done, self.total), percent))
            self.out.flush()

    def finish(self):
        line = "   %s: %s (100%%)" % (self.label, self.describe(self.total, self.total))
        self.out.write(("\r" + line + "\033[K\n") if self.tty else (line + "\n"))
        self.out.flush()
