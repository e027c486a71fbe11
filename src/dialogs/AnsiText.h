#pragma once

#include <QString>

#include <string>

// The server lists hold 8-bit ANSI text; the windows show and take it through the same code
// page as the registry, so every byte, control bytes included, comes back unchanged.
namespace AnsiText {
QString ToQString(const std::string& ansi);
std::string FromQString(const QString& text);
} // namespace AnsiText
