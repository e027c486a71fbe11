#pragma once

#include <QDialog>

#include <string>

class MessagePresenter;
class QLineEdit;

// The modal dialog in which the user types the three texts of one gateway. It only collects
// text and refuses an empty field; the caller decides what to do with the texts.
//
// The caller writes the members, runs DoModal and reads the members back after IDOK. The
// members keep their values between runs, so running the same object again reopens it with the
// texts saved at the last press of OK.
class CPorticoEditServerDlg : public QDialog {
    Q_OBJECT

public:
    enum { IDD = 169 };
    enum Result { IDOK = 1, IDCANCEL = 2 };

    // Refusals of empty fields are said through the presenter.
    explicit CPorticoEditServerDlg(MessagePresenter& presenter, QWidget* parent = nullptr);

    // Runs the dialog modally: IDOK after a successful OK, IDCANCEL after Cancel, Escape or
    // the close box.
    int DoModal();

    // 8-bit ANSI (Windows-1252) texts, like every text of the server lists.
    std::string m_strServerName;
    std::string m_strHostName;
    std::string m_strTimeZone;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Field { ServerName, HostName, TimeZone };

    // true copies the fields into the members, false the members into the fields.
    void DoDataExchange(bool saveAndValidate);
    void OnOkButton();
    void ShowFieldHelp(Field field);
    QLineEdit* editOf(Field field) const;

    MessagePresenter& m_presenter;
    QLineEdit* m_serverNameEdit = nullptr;
    QLineEdit* m_hostNameEdit = nullptr;
    QLineEdit* m_timeZoneEdit = nullptr;
};
