#pragma once

#include <cstdint>

// Option bits of a balloon, given at creation.
inline constexpr std::uint32_t BALLOON_CLOSE_ON_LEFT_UP = 0x0001;
inline constexpr std::uint32_t BALLOON_CLOSE_ON_RIGHT_UP = 0x0002;
inline constexpr std::uint32_t BALLOON_CLOSE_ON_MOUSE_MOVE = 0x0004;
inline constexpr std::uint32_t BALLOON_CLOSE_ON_KEY = 0x0008;
inline constexpr std::uint32_t BALLOON_DELETE_ON_CLOSE = 0x0010;
inline constexpr std::uint32_t BALLOON_CLOSE_BUTTON = 0x0020;
inline constexpr std::uint32_t BALLOON_3D_BORDER = 0x0040;
inline constexpr std::uint32_t BALLOON_TOPMOST = 0x0080;
inline constexpr std::uint32_t BALLOON_NO_FADE_IN = 0x0100;
inline constexpr std::uint32_t BALLOON_NO_FADE_OUT = 0x0200;
inline constexpr std::uint32_t BALLOON_NO_FADE = BALLOON_NO_FADE_IN | BALLOON_NO_FADE_OUT;

// Pixels between the window edge and the client area, on every side.
inline constexpr int BALLOON_MARGIN = 8;
// Height of the tail.
inline constexpr int BALLOON_TAIL = 20;
// Between the title bar and the body, and between icon, title and close button.
inline constexpr int BALLOON_GAP = 8;
inline constexpr int BALLOON_CLOSE_BUTTON_SIZE = 16;
inline constexpr int BALLOON_ICON_SIZE = 16;
// Width and height of the ellipse that rounds the corners.
inline constexpr int BALLOON_CORNER = 24;
// Least distance of a tail corner from the left and right window edges.
inline constexpr int BALLOON_TAIL_INSET = 8;
// How far the mouse may move, in pixels, before a balloon that closes on moves takes it.
inline constexpr int BALLOON_MOUSE_SLACK = 3;

inline constexpr int BALLOON_FADE_INTERVAL_MS = 25;
inline constexpr int BALLOON_MOUSE_POLL_MS = 100;
inline constexpr int BALLOON_BUTTON_POLL_MS = 500;
