#include "about/CPorticoAboutDlg.h"

#include "about/AuthorContact.h"
#include "about/InstantMessaging.h"
#include "about/LinkButton.h"
#include "about/SystemVersion.h"
#include "about/VersionInfo.h"
#include "data/MessagePresenter.h"
#include "dialogs/AnsiText.h"
#include "dialogs/DialogUnits.h"
#include "dialogs/UrlOpener.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QPixmap>
#include <QTextDocument>
#include <QUrl>

#include <algorithm>

// The pictures live in a library: its resources are registered by hand.
static void InitAboutResources()
{
    Q_INIT_RESOURCE(about);
}

namespace {
// String 105, under the etched line.
constexpr char kLegalNotice[] =
    "This program is protected by copyright law and by international treaties. Anyone who "
    "copies it or passes it on, in whole or in part, without the author's leave may be "
    "prosecuted.";

QString FromView(std::string_view text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

QFont TitleFont()
{
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(14);
    font.setWeight(QFont::Bold);
    return font;
}

// Courier New where it is installed, else the system's own fixed-pitch font.
QFont TextFont()
{
    const QString courier = QStringLiteral("Courier New");
    QFont font(QFontDatabase::hasFamily(courier)
                   ? courier
                   : QFontDatabase::systemFont(QFontDatabase::FixedFont).family());
    font.setStyleHint(QFont::TypeWriter);
    font.setPixelSize(14);
    return font;
}

// The system's own face, small and thin.
QFont SmallFont(const QFont& dialogFont)
{
    QFont font(dialogFont);
    font.setPixelSize(11);
    font.setWeight(QFont::Thin);
    font.setStyleStrategy(QFont::PreferQuality);
    return font;
}
} // namespace

CPorticoAboutDlg::CPorticoAboutDlg(UrlOpener& urlOpener, MessagePresenter& presenter,
                                   Messenger& messenger, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_urlOpener(urlOpener), m_presenter(presenter), m_messenger(messenger),
      m_titleFont(TitleFont()), m_textFont(TextFont()), m_smallFont(SmallFont(font()))
{
    InitAboutResources();
    setObjectName(QStringLiteral("aboutDialog"));
    setWindowTitle(QStringLiteral("About "));

    const QFontMetrics metrics(font());
    const DialogUnits units(DialogUnits::BaseXFromSampleWidth(
                                metrics.horizontalAdvance(FromView(DialogUnits::kSampleText))),
                            metrics.height());
    const auto at = [&units](int x, int y) {
        return QPoint(units.ToPixelsX(x), units.ToPixelsY(y));
    };
    const auto addLabel = [this, &units](const char* name, const char* text, int x, int y,
                                         int width, int height) {
        auto* label = new QLabel(QString::fromLatin1(text), this);
        label->setObjectName(QString::fromLatin1(name));
        // Names read from files and the system are shown as they are, never as markup.
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setGeometry(units.ToPixelsX(x), units.ToPixelsY(y), units.ToPixelsX(width),
                           units.ToPixelsY(height));
        return label;
    };
    const auto addLink = [this, &at](const char* name, std::string_view text, const char* image,
                                     const char* toolTip, int x, int y) {
        auto* link = new LinkButton(this);
        link->setObjectName(QString::fromLatin1(name));
        link->setText(FromView(text));
        link->SetImage(QPixmap(QString::fromLatin1(image)));
        link->setToolTip(QString::fromLatin1(toolTip));
        link->move(at(x, y));
        link->SizeToContent();
        return link;
    };

    // The picture keeps its own size inside a sunken frame.
    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("pictureLabel"));
    picture->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    picture->setPixmap(QPixmap(QStringLiteral(":/about/picture.png")));
    picture->move(at(7, 7));
    picture->resize(picture->pixmap().size() + QSize(2, 2) * picture->frameWidth());

    QLabel* description = addLabel("descriptionLabel", "FileDescription", 76, 7, 147, 10);
    QLabel* versionCaption = addLabel("versionCaptionLabel", "Version", 76, 18, 45, 9);
    QLabel* fileVersion = addLabel("fileVersionLabel", "ProductVersion", 121, 18, 102, 10);
    QLabel* copyright = addLabel("copyrightLabel", "LegalCopyright", 76, 29, 147, 9);

    // Created in tab order: the mail link is the first control and takes the focus.
    LinkButton* mail = addLink("mailLinkButton", AuthorContact::kMailAddress, ":/about/mail.png",
                               "Send a mail to ferryman", 76, 43);
    m_firstControl = mail;
    LinkButton* messengerLink =
        addLink("messengerLinkButton", AuthorContact::kMessengerLinkText, ":/about/messenger.png",
                "Send an instant message to Ferryman", 76, 59);

    // As wide as the line under it: the names of today's systems are long.
    QLabel* osVersion = addLabel("osVersionLabel", "OsVersion", 7, 85, 216, 8);

    auto* separator = new QFrame(this);
    separator->setObjectName(QStringLiteral("separator"));
    separator->setFrameShape(QFrame::HLine);
    separator->setFrameShadow(QFrame::Sunken);
    separator->setGeometry(units.ToPixelsX(7), units.ToPixelsY(99), units.ToPixelsX(216),
                           std::max(units.ToPixelsY(1), 2));

    QLabel* legalNotice = addLabel("legalNoticeLabel", "", 7, 106, 151, 43);
    legalNotice->setWordWrap(true);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    ok->setGeometry(units.ToPixelsX(163), units.ToPixelsY(104), units.ToPixelsX(60),
                    units.ToPixelsY(14));

    setFixedSize(units.ToPixelsX(230), units.ToPixelsY(159));

    // Without a version table every field stays empty and the caption is "About " alone.
    VersionStrings version;
    ReadVersionInfo(ProgramVersionBlock(), version);
    setWindowTitle(windowTitle() + AnsiText::ToQString(version.FileDescription));
    description->setFont(m_titleFont);
    description->setText(AnsiText::ToQString(version.FileDescription));
    copyright->setFont(m_textFont);
    copyright->setText(AnsiText::ToQString(version.LegalCopyright));
    legalNotice->setFont(m_smallFont);
    legalNotice->setText(QString::fromLatin1(kLegalNotice));
    versionCaption->setFont(m_textFont);
    fileVersion->setFont(m_textFont);
    fileVersion->setText(AnsiText::ToQString(version.FileVersion));
    // A name too long for its line ends in an ellipsis; the tooltip has all of it.
    const QString system = QString::fromStdString(GetOsVersionText());
    osVersion->setText(
        osVersion->fontMetrics().elidedText(system, Qt::ElideRight, osVersion->width()));
    osVersion->setToolTip(Qt::convertFromPlainText(system));

    connect(ok, &QPushButton::clicked, this, &CPorticoAboutDlg::accept);
    connect(mail, &LinkButton::clicked, this, &CPorticoAboutDlg::OnSendMail);
    connect(messengerLink, &LinkButton::clicked, this, &CPorticoAboutDlg::OnInstantMessage);
}

int CPorticoAboutDlg::DoModal()
{
    m_firstControl->setFocus(Qt::OtherFocusReason);
    return exec() == QDialog::Accepted ? IDOK : IDCANCEL;
}

void CPorticoAboutDlg::OnSendMail()
{
    // Written as it is, without percent-encoding; whether a mail program took it is not
    // reported.
    const QString url = QStringLiteral("mailto:") + FromView(AuthorContact::kMailAddress) +
                        QStringLiteral("?subject=") + FromView(AuthorContact::kMailSubject);
    m_urlOpener.OpenUrl(QUrl(url));
}

void CPorticoAboutDlg::OnInstantMessage()
{
    if (const auto message = Util::InstantMessagingMe(m_messenger))
        m_presenter.ShowMessage(message->Text, message->Icon);
}
