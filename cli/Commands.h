#pragma once
// The sub-commands of quillet-cli; each gets the arguments after its name.

#include "CliCommon.h"

namespace Cli
{
int RunDump(const std::vector<std::string>& args, const Io& io);
int RunPack(const std::vector<std::string>& args, const Io& io);
int RunBalances(const std::vector<std::string>& args, const Io& io);
int RunRegister(const std::vector<std::string>& args, const Io& io);
int RunDue(const std::vector<std::string>& args, const Io& io);
int RunCategories(const std::vector<std::string>& args, const Io& io);
int RunExport(const std::vector<std::string>& args, const Io& io);
int RunImport(const std::vector<std::string>& args, const Io& io);
int RunEncrypt(const std::vector<std::string>& args, const Io& io);
int RunDecrypt(const std::vector<std::string>& args, const Io& io);
}
