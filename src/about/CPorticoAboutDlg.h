#pragma once

#include <QDialog>
#include <QFont>

class MessagePresenter;
class Messenger;
class UrlOpener;

// The modal About box: the program's description, version and authorship from its version
// information, a legal notice, the running system's version, and two links to the author, by
// mail and by instant message.
class CPorticoAboutDlg : public QDialog {
    Q_OBJECT

public:
    enum { IDD = 100 };
    enum Result { IDOK = 1, IDCANCEL = 2 };

    // The mail link opens its address with urlOpener; the messenger link reaches the author
    // through messenger and shows why it could not through presenter. All three must outlive
    // the dialog.
    CPorticoAboutDlg(UrlOpener& urlOpener, MessagePresenter& presenter, Messenger& messenger,
                     QWidget* parent = nullptr);

    // Runs the box modally: IDOK after OK, IDCANCEL after Escape or the close box.
    int DoModal();

private:
    void OnSendMail();
    void OnInstantMessage();

    UrlOpener& m_urlOpener;
    MessagePresenter& m_presenter;
    Messenger& m_messenger;
    QFont m_titleFont;
    QFont m_textFont;
    QFont m_smallFont;
    QWidget* m_firstControl = nullptr;
};
