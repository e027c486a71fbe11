#include "dialogs/CPorticoEditServerDlg.h"

#include "data/CodePageText.h"
#include "data/MessagePresenter.h"
#include "dialogs/AnsiText.h"
#include "dialogs/BalloonOptions.h"
#include "dialogs/BalloonRect.h"
#include "dialogs/CBalloonHelp.h"
#include "dialogs/DialogUnits.h"

#include <QEvent>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

#include <algorithm>
#include <limits>

namespace {
// The help closes on the next key, on a mouse movement or after ten seconds, without fading out.
constexpr std::uint32_t kFieldHelpOptions =
    BALLOON_CLOSE_ON_KEY | BALLOON_CLOSE_ON_MOUSE_MOVE | BALLOON_NO_FADE_OUT;
constexpr unsigned kFieldHelpTimeoutMs = 10000;
} // namespace

CPorticoEditServerDlg::CPorticoEditServerDlg(MessagePresenter& presenter, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_presenter(presenter)
{
    setObjectName(QStringLiteral("serverPropertiesDialog"));
    setWindowTitle(QStringLiteral("Server properties"));

    const QFontMetrics metrics(font());
    const DialogUnits units(
        DialogUnits::BaseXFromSampleWidth(metrics.horizontalAdvance(
            QString::fromLatin1(DialogUnits::kSampleText.data(), DialogUnits::kSampleText.size()))),
        metrics.height());
    const auto place = [&units](QWidget* widget, int x, int y, int width, int height) {
        widget->setGeometry(units.ToPixelsX(x), units.ToPixelsY(y), units.ToPixelsX(width),
                            units.ToPixelsY(height));
    };
    const auto addLabel = [this, &place](const char* name, const char* text, int y, int height) {
        auto* label = new QLabel(QString::fromLatin1(text), this);
        label->setObjectName(QString::fromLatin1(name));
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        place(label, 26, y, 56, height);
        return label;
    };
    const auto addEdit = [this, &place](const char* name, int y, int width) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QString::fromLatin1(name));
        // The fields take texts of any length.
        edit->setMaxLength(std::numeric_limits<int>::max());
        edit->installEventFilter(this);
        place(edit, 81, y, width, 12);
        return edit;
    };
    const auto addButton = [this, &place](const char* name, const char* text, int x, int y,
                                          int width, int height) {
        auto* button = new QPushButton(QString::fromLatin1(text), this);
        button->setObjectName(QString::fromLatin1(name));
        place(button, x, y, width, height);
        return button;
    };

    // Created in tab order.
    QLabel* serverLabel = addLabel("serverNameLabel", "&Server name :", 7, 11);
    m_serverNameEdit = addEdit("serverNameEdit", 7, 146);
    QLabel* hostLabel = addLabel("hostNameLabel", "&Host name :", 22, 10);
    m_hostNameEdit = addEdit("hostNameEdit", 22, 146);
    QLabel* timeZoneLabel = addLabel("timeZoneLabel", "&Timezone :", 38, 11);
    m_timeZoneEdit = addEdit("timeZoneEdit", 37, 32);
    serverLabel->setBuddy(m_serverNameEdit);
    hostLabel->setBuddy(m_hostNameEdit);
    timeZoneLabel->setBuddy(m_timeZoneEdit);

    auto* separator = new QFrame(this);
    separator->setObjectName(QStringLiteral("separator"));
    separator->setFrameShape(QFrame::HLine);
    separator->setFrameShadow(QFrame::Sunken);
    separator->setGeometry(units.ToPixelsX(7), units.ToPixelsY(59), units.ToPixelsX(260),
                           std::max(units.ToPixelsY(1), 2));

    QPushButton* okButton = addButton("okButton", "OK", 163, 73, 50, 14);
    okButton->setDefault(true);
    QPushButton* cancelButton = addButton("cancelButton", "Cancel", 217, 73, 50, 14);
    QPushButton* serverHelp = addButton("serverNameHelpButton", "?", 233, 7, 14, 12);
    QPushButton* hostHelp = addButton("hostNameHelpButton", "?", 234, 22, 13, 12);
    QPushButton* timeZoneHelp = addButton("timeZoneHelpButton", "?", 234, 38, 13, 11);

    setFixedSize(units.ToPixelsX(274), units.ToPixelsY(94));

    connect(okButton, &QPushButton::clicked, this, &CPorticoEditServerDlg::OnOkButton);
    connect(cancelButton, &QPushButton::clicked, this, &CPorticoEditServerDlg::reject);
    connect(serverHelp, &QPushButton::clicked, this, [this] { ShowFieldHelp(Field::ServerName); });
    connect(hostHelp, &QPushButton::clicked, this, [this] { ShowFieldHelp(Field::HostName); });
    connect(timeZoneHelp, &QPushButton::clicked, this, [this] { ShowFieldHelp(Field::TimeZone); });
}

int CPorticoEditServerDlg::DoModal()
{
    DoDataExchange(false);
    // Every run starts on the first field, as a freshly created dialog would.
    m_serverNameEdit->setFocus(Qt::OtherFocusReason);
    const int result = exec() == QDialog::Accepted ? IDOK : IDCANCEL;
    // The window is gone once the dialog ends: so are the balloons it owns.
    qDeleteAll(findChildren<CBalloonHelp*>(Qt::FindDirectChildrenOnly));
    return result;
}

void CPorticoEditServerDlg::DoDataExchange(bool saveAndValidate)
{
    if (saveAndValidate) {
        m_strServerName = AnsiText::FromQString(m_serverNameEdit->text());
        m_strHostName = AnsiText::FromQString(m_hostNameEdit->text());
        m_strTimeZone = AnsiText::FromQString(m_timeZoneEdit->text());
    } else {
        m_serverNameEdit->setText(AnsiText::ToQString(m_strServerName));
        m_hostNameEdit->setText(AnsiText::ToQString(m_strHostName));
        m_timeZoneEdit->setText(AnsiText::ToQString(m_strTimeZone));
    }
}

void CPorticoEditServerDlg::OnOkButton()
{
    // The members take the typed texts before any check, so they hold them even on refusal.
    DoDataExchange(true);
    const struct {
        const std::string& text;
        const char* message;
        const char* name;
        QLineEdit* edit;
    } required[] = {
        {m_strServerName, "You must fill a server name", "server name", m_serverNameEdit},
        {m_strHostName, "You must fill a host name", "host name", m_hostNameEdit},
        {m_strTimeZone, "You must fill a time zone", "time zone", m_timeZoneEdit},
    };
    for (const auto& field : required) {
        if (field.text.empty()) {
            m_presenter.ShowMessage(field.message, MessageIcon::Error);
            field.edit->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
    // A character the lists' code page lacks would be stored as '?': say so instead.
    for (const auto& field : required) {
        std::string ansi;
        std::string problem;
        if (!CodePageText::FromUtf8(field.edit->text().toStdString(), ansi, &problem)) {
            m_presenter.ShowMessage(std::string("The ") + field.name + " holds " + problem +
                                        ", which the games' code page (Windows-1252) cannot "
                                        "hold.",
                                    MessageIcon::Error);
            field.edit->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
    accept();
}

bool CPorticoEditServerDlg::eventFilter(QObject* watched, QEvent* event)
{
    // A field shows its help whenever it receives the focus, except when a context menu hands
    // the focus back. Showing the dialog announces the focus to its field before the window is
    // active, and the activation then gives it for real: only the real arrival counts.
    if (event->type() == QEvent::FocusIn &&
        static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason &&
        static_cast<QWidget*>(watched)->hasFocus()) {
        for (Field field : {Field::ServerName, Field::HostName, Field::TimeZone}) {
            if (watched == editOf(field))
                ShowFieldHelp(field);
        }
    }
    return QDialog::eventFilter(watched, event);
}

QLineEdit* CPorticoEditServerDlg::editOf(Field field) const
{
    switch (field) {
    case Field::ServerName:
        return m_serverNameEdit;
    case Field::HostName:
        return m_hostNameEdit;
    case Field::TimeZone:
        return m_timeZoneEdit;
    }
    return m_serverNameEdit;
}

void CPorticoEditServerDlg::ShowFieldHelp(Field field)
{
    struct Help {
        const char* title;
        const char* text;
    };
    static constexpr Help kHelp[] = {
        {"Server name", "Enter here a name which will be displayed under Battle Net Server "
                        "List.\n\nExamples:\nMy private server\nOfficial Europe Battle Net "
                        "Server"},
        {"Host name", "Enter here the IP adress or complete network name of the Battle Net "
                      "Server.\n\nExamples:\n192.0.2.10 for 1st private server in "
                      "Zembla\n198.51.100.20 for 2nd private server in Zembla"},
        {"TimeZone", "Enter here the timezone of your country.\n\nExamples:\n1 for France\n-1 "
                     "for UK"},
    };
    const Help& help = kHelp[static_cast<int>(field)];

    // The balloon points at the middle of the edit field, whichever control asked for it.
    const QLineEdit* edit = editOf(field);
    const QPoint topLeft = edit->mapToGlobal(QPoint(0, 0));
    const BalloonPoint anchor = BalloonRect{topLeft.x(), topLeft.y(), topLeft.x() + edit->width(),
                                            topLeft.y() + edit->height()}
                                    .Centre();
    CBalloonHelp::OpenBalloon(QString::fromLatin1(help.title), QString::fromLatin1(help.text),
                              QPoint(anchor.x, anchor.y),
                              style()->standardIcon(QStyle::SP_MessageBoxInformation),
                              kFieldHelpOptions, this, QString(), nullptr, kFieldHelpTimeoutMs);
}
