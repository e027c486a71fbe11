#include "PorticoFixture.h"

#include "TestApplication.h"

#include "app/AppStartup.h"
#include "app/CCaptionBar.h"
#include "app/CMainFrame.h"
#include "app/CPorticoApp.h"
#include "dialogs/AnsiText.h"
#include "doc/CPorticoView.h"

#include "platform/WineRegistry.h"

#include <QAction>
#include <QDockWidget>
#include <QSettings>
#include <QToolButton>

#include <stdexcept>

std::vector<PorticoFixture::Gateway> PorticoFixture::SampleGateways(Game game)
{
    switch (game) {
    case Game::Starcraft:
        return {{"sc-west.test", "-8", "Pacific Ladder"},
                {"sc-east.test", "-5", "Atlantic Ladder"},
                {"198.51.100.23", "1", "Z\xfcrich Caf\xe9"}};
    case Game::Diablo:
        return {{"d2-eu.test", "1", "\xd6resund \x96 Europe"},
                {"d2-asia.test", "9", "Asia Realm"},
                {"192.0.2.77", "-6", "\x04Gold\x07 Realm\x06"}};
    case Game::Warcraft:
        break;
    }
    return {{"w3-north.test", "-5", "Northern Hall"},
            {"w3-south.test", "-3", "S\xe3o Paulo Arena"},
            {"198.51.100.99", "2", "\x80uro Guild"}};
}

void PorticoFixture::SetUp()
{
    EnsureTestApplication();
}

void PorticoFixture::TearDown()
{
    if (app != nullptr)
        app->ExitInstance(0);
    app.reset();
}

bool PorticoFixture::Start()
{
    prefix.Write();
    settings = Settings();
    prefixes = std::make_unique<WinePrefixes>(
        commandLinePrefix, winePrefixVariable, home, *settings, [this](const std::string& path) {
            auto watched =
                std::make_unique<CursorWatchingRegistry>(std::make_unique<WineRegistry>(path));
            registry = watched.get();
            return watched;
        });
    app = std::make_unique<CPorticoApp>(*prefixes, sockets, seams);
    return app->InitInstance();
}

std::unique_ptr<QSettings> PorticoFixture::Settings() const
{
    return std::make_unique<QSettings>(
        QString::fromStdString((config.Path() / "portico.conf").string()), QSettings::IniFormat);
}

bool PorticoFixture::StartWith(std::initializer_list<Game> games)
{
    for (Game game : games) {
        prefix.Install(game);
        prefix.SetGateways(game, SampleGateways(game));
    }
    return Start();
}

CPorticoApp& PorticoFixture::App() const
{
    if (app == nullptr)
        throw std::logic_error("the application has not started");
    return *app;
}

CMainFrame& PorticoFixture::Frame() const
{
    if (App().mainFrame() == nullptr)
        throw std::logic_error("the main window is not open");
    return *App().mainFrame();
}

CPorticoView& PorticoFixture::View() const
{
    auto* view = Frame().findChild<CPorticoView*>(QStringLiteral("serverList"));
    if (view == nullptr)
        throw std::logic_error("no server list");
    return *view;
}

QAction& PorticoFixture::Command(const char* objectName) const
{
    auto* action = Frame().findChild<QAction*>(QString::fromLatin1(objectName));
    if (action == nullptr)
        throw std::logic_error(std::string("no action ") + objectName);
    return *action;
}

std::vector<QToolButton*> PorticoFixture::GameButtons() const
{
    auto* bar = Frame().findChild<QDockWidget*>(QStringLiteral("shortcutsBar"));
    if (bar == nullptr)
        throw std::logic_error("no shortcuts bar");
    const QList<QToolButton*> buttons = bar->findChildren<QToolButton*>();
    std::vector<QToolButton*> games;
    for (QToolButton* button : buttons) {
        if (button->objectName().startsWith(QStringLiteral("shortcut_")))
            games.push_back(button);
    }
    return games;
}

QString PorticoFixture::Caption() const
{
    return Frame().captionBar()->text();
}

std::vector<PorticoFixture::Row> PorticoFixture::Rows() const
{
    const QAbstractItemModel& model = *View().model();
    std::vector<Row> rows;
    for (int r = 0; r < model.rowCount(); ++r) {
        Row row;
        for (int c = 0; c < 5; ++c)
            row[static_cast<std::size_t>(c)] =
                AnsiText::FromQString(model.index(r, c).data().toString());
        rows.push_back(row);
    }
    return rows;
}

std::vector<PorticoFixture::Row> PorticoFixture::Memory() const
{
    std::vector<Row> servers;
    if (const GameInfo* game = App().m_selection.game()) {
        for (const ServerInfo& server : game->Servers)
            servers.push_back(
                {server.Name, server.Hostname, server.TimeZone, server.PingTime, server.Status});
    }
    return servers;
}

void PorticoFixture::SelectRow(int row) const
{
    View().selectRow(row);
}

std::vector<std::string> PorticoFixture::MessageTexts() const
{
    std::vector<std::string> texts;
    for (const auto& message : presenter.Messages)
        texts.push_back(message.Text);
    return texts;
}

std::vector<std::vector<std::string>> PorticoFixture::ListsInPrefix() const
{
    WineRegistry fresh(prefix.Path());
    GameCatalog catalog;
    AppStartup::LoadCatalog(catalog);
    std::vector<std::vector<std::string>> lists;
    for (GameInfo& game : catalog) {
        std::vector<std::string> servers;
        try {
            game.LoadGateways(fresh);
            for (const ServerInfo& server : game.Servers)
                servers.push_back(server.Name + "|" + server.Hostname + "|" + server.TimeZone);
        } catch (const std::exception& e) {
            servers.push_back(std::string("unreadable: ") + e.what());
        }
        lists.push_back(servers);
    }
    return lists;
}
