#pragma once
// The ledger keeps texts as Windows-1252 bytes; the GUI shows QStrings.
// A character the code page cannot hold becomes "?".

#include <QString>

#include <string>

QString FromBytes(const std::string& bytes);
// Appends the bytes' characters to text: one allocation for a text built
// from several pieces.
void AppendBytes(QString& text, const std::string& bytes);
std::string ToBytes(const QString& text);
