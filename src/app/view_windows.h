// The 3D View and camera windows in the desktop program: their host runs every action
// through the Document (loads ask about unsaved changes first, replace and add are undo
// steps, messages are reported there, dialogs go through its dialog service).
#pragma once

#include "view/ui/view_window_host.h"

#include <QObject>

class QWidget;

namespace mw {

class Document;

class DocumentViewHost final : public ViewWindowHost {
  public:
    DocumentViewHost(Document& document, QWidget* window) : document_(document), window_(window) {}

    const State& state() const override;
    bool loadMesh(const QString& path, bool smd, const ViewOptions& options) override;
    bool loadGmdc(const QString& path) override;
    bool commitModel(int model, std::int16_t subGroup, std::int16_t targetObject) override;
    bool replaceModels(const ViewOptions& options) override;
    bool addModels(const ViewOptions& options) override;
    bool saveGmdc(const QString& path, bool bodyEditing) override;
    QString saveGmdcFileName(const QString& caption, const QString& folder) override;
    bool emptyP5() override;
    bool writeSmd(const QString& path, int objectNumber, std::int16_t mode) override;
    bool writeObj(const QString& path, int modelNumber) override;
    QString openFileName(const QString& caption, const QString& filter, const QString& folder) override;
    QString saveFileName(const QString& caption, const QString& filter, const QString& suggestedPath) override;
    void showMessage(const QString& text) override;

    void setWindow(QWidget* window) { window_ = window; }

  private:
    Document& document_;
    QWidget* window_;
};

// Registers the "3D View" and camera windows as the main window's tool windows.
void registerViewWindows();

} // namespace mw
