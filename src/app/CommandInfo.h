#pragma once

#include <span>

// What the resources say about one command: its menu text (with the accelerator after a tab),
// its accelerator, its status-bar prompt and tooltip, and the pictures of its toolbar button.
struct CommandInfo {
    int Id;
    const char* ObjectName;
    const char* MenuText;
    const char* Shortcut;
    const char* Prompt;
    const char* ToolTip;
    // Our own picture of the toolbar button.
    const char* Picture;

    // Every command of the menus and the toolbar.
    static std::span<const CommandInfo> All();
    // The prompt and tooltip of a game command, by catalogue index; nullptr past the texts.
    static const char* GamePrompt(int index);
};
