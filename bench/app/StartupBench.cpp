// Start-up of the main window, offscreen: from the catalogue to a shown 600 x 400 window, on the
// demo prefix and on one whose system.reg is 20 MB, beside an empty QMainWindow shown the same
// way. Each round reads the prefix afresh, as a new process would.
#include "about/AbsentMessenger.h"
#include "app/CMainFrame.h"
#include "app/CPorticoApp.h"
#include "app/WinePrefixes.h"
#include "data/MessagePresenter.h"
#include "dialogs/ModalServerDialogRunner.h"
#include "dialogs/UrlOpener.h"
#include "doc/FilePicker.h"
#include "platform/PosixSockets.h"
#include "platform/WineRegistry.h"

#include <QApplication>
#include <QMainWindow>
#include <QSettings>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {
// Start-up asks the user nothing; these only make the set of seams whole.
class SilentPresenter : public MessagePresenter {
public:
    void ShowMessage(const std::string&, MessageIcon) override {}
    SaveChoice AskSaveChanges(const std::string&) override { return SaveChoice::Cancel; }
};

class NoFiles : public FilePicker {
public:
    bool GetOpenFileName(QWidget*, const QString&, const QStringList&, const QString&,
                         QString&) override
    {
        return false;
    }
    bool GetExistingDirectory(QWidget*, const QString&, const QString&, QString&) override
    {
        return false;
    }
};

class NoUrls : public UrlOpener {
public:
    bool OpenUrl(const QUrl&) override { return false; }
};

// What the windows are handed besides the registry and the sockets.
struct QuietSeams {
    SilentPresenter presenter;
    NoFiles files;
    ModalServerDialogRunner serverDialog;
    NoUrls urls;
    AbsentMessenger messenger;
    const Seams seams{presenter, files, serverDialog, urls, messenger};
};

// One start of the main window, shown, then its end.
void OpenAndClose(CPorticoApp& app, const fs::path& prefix)
{
    if (!app.InitInstance())
        throw std::runtime_error("the main window did not open on " + prefix.string());
    QApplication::processEvents();
    benchmark::DoNotOptimize(app.mainFrame());
    app.ExitInstance(0);
}

void EnsureApplication()
{
    if (QApplication::instance() != nullptr)
        return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "app_bench";
    static char* argv[] = {name, nullptr};
    // Kept to the end of the process, like the program's own.
    static QApplication* application = new QApplication(argc, argv);
    (void)application;
}

// Copies of the demo prefix in a temporary folder, one of them with system.reg grown to 20 MB
// by keys that no game uses; removed at exit.
class Prefixes {
public:
    Prefixes()
    {
        m_root = fs::temp_directory_path() / ("portico-app-bench-" + std::to_string(getpid()));
        fs::create_directories(m_root);
        fs::copy(PORTICO_DEMO_PREFIX, Demo());
        fs::copy(PORTICO_DEMO_PREFIX, Large());
        std::ofstream system(Large() / "system.reg", std::ios::app | std::ios::binary);
        char block[256];
        int key = 0;
        while (fs::file_size(Large() / "system.reg") < kLargeSize) {
            for (int n = 0; n < 1000; ++n, ++key) {
                const int length = std::snprintf(
                    block, sizeof block,
                    "\n[Software\\\\Vendor %03d\\\\Product %06d] 1796855082\n"
                    "#time=1dd882c1614899a\n"
                    "\"InstallPath\"=\"C:\\\\Program Files\\\\Vendor %03d\\\\Product %06d\"\n"
                    "\"Version\"=dword:%08x\n",
                    key % 997, key, key % 997, key, key);
                system.write(block, length);
            }
            system.flush();
        }
    }
    ~Prefixes()
    {
        std::error_code ignored;
        fs::remove_all(m_root, ignored);
    }

    fs::path Demo() const { return m_root / "demo"; }
    fs::path Large() const { return m_root / "large"; }

    static constexpr std::uintmax_t kLargeSize = 20u * 1024u * 1024u;

private:
    fs::path m_root;
};

const Prefixes& TestPrefixes()
{
    static const Prefixes prefixes;
    return prefixes;
}

void OpenMainWindow(benchmark::State& state, const fs::path& prefix)
{
    EnsureApplication();
    const QuietSeams quiet;
    PosixSockets sockets;
    for (auto _ : state) {
        WineRegistry registry(prefix.string());
        CPorticoApp app(registry, sockets, quiet.seams);
        OpenAndClose(app, prefix);
    }
}

// The program's own way: the prefix in effect, its registry opened by the prefixes, the one last
// used read from and written to the settings.
void MainWindowOnDemoPrefixInEffect(benchmark::State& state)
{
    EnsureApplication();
    const QuietSeams quiet;
    PosixSockets sockets;
    const fs::path demo = TestPrefixes().Demo();
    QSettings settings(QString::fromStdString((demo.parent_path() / "portico.conf").string()),
                       QSettings::IniFormat);
    for (auto _ : state) {
        WinePrefixes prefixes(
            std::nullopt, demo.string(), demo.parent_path().string(), settings,
            [](const std::string& path) { return std::make_unique<WineRegistry>(path); });
        CPorticoApp app(prefixes, sockets, quiet.seams);
        OpenAndClose(app, demo);
    }
}
BENCHMARK(MainWindowOnDemoPrefixInEffect)->Unit(benchmark::kMillisecond);

void EmptyMainWindow(benchmark::State& state)
{
    EnsureApplication();
    for (auto _ : state) {
        QMainWindow window;
        window.resize(CMainFrame::kWidth, CMainFrame::kHeight);
        window.showNormal();
        QApplication::processEvents();
        benchmark::DoNotOptimize(&window);
    }
}
BENCHMARK(EmptyMainWindow)->Unit(benchmark::kMillisecond);

void MainWindowOnDemoPrefix(benchmark::State& state)
{
    OpenMainWindow(state, TestPrefixes().Demo());
}
BENCHMARK(MainWindowOnDemoPrefix)->Unit(benchmark::kMillisecond);

void MainWindowWith20MegabyteSystemReg(benchmark::State& state)
{
    state.counters["system.reg MB"] =
        double(fs::file_size(TestPrefixes().Large() / "system.reg")) / (1024.0 * 1024.0);
    OpenMainWindow(state, TestPrefixes().Large());
}
BENCHMARK(MainWindowWith20MegabyteSystemReg)->Unit(benchmark::kMillisecond);
} // namespace
