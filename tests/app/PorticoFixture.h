#pragma once

#include "CursorWatchingRegistry.h"
#include "RecordingPresenter.h"
#include "RecordingUrlOpener.h"
#include "ScriptedFilePicker.h"
#include "ScriptedServerDialog.h"
#include "TempWinePrefix.h"

#include "TempDir.h"

#include "about/AbsentMessenger.h"
#include "app/WinePrefixes.h"
#include "doc/Seams.h"
#include "platform/PosixSockets.h"

#include <QSettings>

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class CMainFrame;
class CPorticoApp;
class CPorticoView;
class QAction;
class QToolButton;

// What the program says when no game is installed.
inline constexpr char kNoGameInstalled[] =
    "At least one of the following games must installed in order to properly run this "
    "program:\nStarcraft/Broodwar\nDiablo II\nWarcraft III";

// Starts the real application on a Wine prefix of the test's own, a fresh one per test, with
// message boxes, the file dialog and the server dialog answered by the test. The prefix is
// $WINEPREFIX and the home unless the test says otherwise; the settings are the test's own.
class PorticoFixture : public ::testing::Test {
protected:
    using Game = TempWinePrefix::Game;
    using Gateway = TempWinePrefix::Gateway;
    // The five texts of a row or a server, as 8-bit ANSI.
    using Row = std::array<std::string, 5>;

    // Three servers per game, one with 8-bit characters and one with colour control bytes.
    static std::vector<Gateway> SampleGateways(Game game);

    void SetUp() override;
    void TearDown() override;

    // Writes the prefix and runs the start-up; true when the main window opened.
    bool Start();
    // The settings file, read afresh.
    std::unique_ptr<QSettings> Settings() const;
    // Installs the games with their sample lists, then starts.
    bool StartWith(std::initializer_list<Game> games);

    CPorticoApp& App() const;
    CMainFrame& Frame() const;
    CPorticoView& View() const;
    QAction& Command(const char* objectName) const;
    std::vector<QToolButton*> GameButtons() const;
    QString Caption() const;

    // What the list view shows.
    std::vector<Row> Rows() const;
    // The selected game's list in memory.
    std::vector<Row> Memory() const;
    void SelectRow(int row) const;

    std::vector<std::string> MessageTexts() const;

    // Each game's list as a fresh start on the prefix would read it, a server as
    // "name|host|time zone", or the reason it cannot be read.
    std::vector<std::vector<std::string>> ListsInPrefix() const;

    TempWinePrefix prefix;
    RecordingPresenter presenter;
    ScriptedFilePicker picker;
    ScriptedServerDialog dialog;
    RecordingUrlOpener urls;
    AbsentMessenger messenger;
    const Seams seams{presenter, picker, dialog, urls, messenger};
    PosixSockets sockets;
    // What the application starts from.
    std::optional<std::string> commandLinePrefix;
    std::optional<std::string> winePrefixVariable = prefix.Path();
    std::string home = prefix.Path();
    TempDir config;
    std::unique_ptr<QSettings> settings;
    std::unique_ptr<WinePrefixes> prefixes;
    // The registry of the prefix in use.
    CursorWatchingRegistry* registry = nullptr;
    std::unique_ptr<CPorticoApp> app;
};
