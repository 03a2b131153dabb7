#pragma once

#include <QString>

// Starts other programs.
class ProgramStarter {
public:
    virtual ~ProgramStarter() = default;
    // The command line is split into program and arguments as a shell would split it, but no
    // shell runs it. The program runs on by itself; true when it was started.
    virtual bool start(const QString& commandLine) = 0;
};

class QtProgramStarter final : public ProgramStarter {
public:
    bool start(const QString& commandLine) override;
};
