#pragma once

#include <QObject>

class GameCatalog;
class QWidget;
class RegistryApi;
class ServerListModels;
struct Seams;

// The commands that move whole lists between memory and their stores: the registry and server
// list files. The lists themselves are the catalogue's; the document holds none of its own.
class CPorticoDoc : public QObject {
    Q_OBJECT

public:
    CPorticoDoc(GameCatalog& catalog, ServerListModels& models, RegistryApi& registry,
                const Seams& seams, QObject* parent = nullptr);

    void OnReloadFromRegistry();
    // True when every list was saved.
    bool OnSaveToRegistry();
    // window: where the file dialog opens.
    void OnImportFromFile(QWidget* window);

private:
    GameCatalog& m_catalog;
    ServerListModels& m_models;
    RegistryApi& m_registry;
    const Seams& m_seams;
};
