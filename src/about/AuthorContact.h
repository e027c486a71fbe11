#pragma once

#include <string_view>

// How the About box lets the user reach the author.
namespace AuthorContact {
inline constexpr std::string_view kMailAddress = "ferryman@example.com";
// The subject of every mail the link starts: the program's title.
inline constexpr std::string_view kMailSubject = "Portico";
// The author signs in to the messenger with the mail address.
inline constexpr std::string_view kMessengerContact = kMailAddress;
inline constexpr std::string_view kMessengerLinkText = "Ferryman on MSN";
} // namespace AuthorContact
