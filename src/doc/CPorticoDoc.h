#pragma once

#include <QObject>

// The document holds nothing: the server lists live in the application's catalogue. It carries
// the commands that move whole lists between memory and their stores: the registry and server
// list files.
class CPorticoDoc : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    void OnReloadFromRegistry();
    void OnSaveToRegistry();
    void OnImportFromFile();
};
