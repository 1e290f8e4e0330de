#pragma once

// A figure of this process's memory from /proc/self/status, in KiB: "VmRSS" what it holds
// resident now, "VmHWM" the most it ever held. -1 when it cannot be read.
long processMemoryKilobytes(const char *field);
