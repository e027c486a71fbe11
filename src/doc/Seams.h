#pragma once

class FilePicker;
class MessagePresenter;
class Messenger;
class ServerDialogRunner;
class UrlOpener;

// Where the windows meet the user outside their own widgets: message boxes, the file dialog,
// the server properties dialog, the desktop's handler of addresses and the instant messenger.
// The program hands the real ones to its main window; a test hands its own answers.
struct Seams {
    MessagePresenter& Presenter;
    FilePicker& Files;
    ServerDialogRunner& ServerDialog;
    UrlOpener& Urls;
    Messenger& InstantMessenger;
};
