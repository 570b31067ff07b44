#pragma once
// quillet --print-to-pdf runs without a window, often where there is no
// display at all (a script, a server): nothing may wait for a click. Its
// messages go to the standard error, and a protected checkbook's password
// comes from QUILLET_PASSWORD or is asked on the terminal (an encrypted
// one's passphrase from QUILLET_PASSPHRASE, or the terminal).

class CQuilletApp;

namespace HeadlessRun
{
// Whether the command line asks for --print-to-pdf.
bool Requested(int argc, char** argv);
// Before the QApplication exists: the offscreen platform, unless the user
// chose one.
void ChoosePlatform();
// Messages and the password question of app go to the terminal.
void UseTerminal(CQuilletApp& app);
}
