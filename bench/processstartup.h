#pragma once

#include <QSize>
#include <QString>
#include <QStringList>

#include <vector>

// One program's start-ups on a real X server.
struct ProcessStartups
{
    std::vector<double> seconds;    // from starting the program to its window's first frame
    std::vector<double> cpuSeconds; // the process's CPU time, user and system, in that span
    QSize windowSize;               // of the top-level window, frame and menu bar included
};

// Starts an Xvfb server of its own and starts each program `runs` times, taking turns, killing
// each once its window's first frame has reached the server. A frame counts as painted when the
// server has received pixels for every part of the window, as its XDamage extension reports
// them: nothing inside the programs needs to know they are being measured. Throws
// std::runtime_error when the server or a program fails.
std::vector<ProcessStartups> measureProcessStartups(const QStringList &programs, int runs);
