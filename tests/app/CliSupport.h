#pragma once
// Runs the command line's commands in-process beside the window.
#include "Cli.h"

#include <QFile>
#include <QString>
#include <QtGlobal>

#include <sstream>
#include <string>
#include <vector>

inline int RunCli(const std::vector<std::string>& args, const Cli::Environment& env = Cli::Environment())
{
    std::ostringstream out, err;
    const int status = Cli::Run(args, out, err, env);
    if (status != 0)
        qWarning("quillet-cli: %s", err.str().c_str());
    return status;
}

// A path as the command line takes it.
inline std::string Native(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}
