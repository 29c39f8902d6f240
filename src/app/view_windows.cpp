// The 3D View and camera windows on the Document.
#include "app/view_windows.h"

#include "app/document.h"
#include "app/tool_windows.h"
#include "core/program_folder.h"
#include "gmdc/gmdc_edits.h"
#include "merge/view_commands.h"
#include "mesh/obj_writer.h"
#include "smd_export/smd_writer.h"
#include "view/ui/camera_window.h"
#include "view/ui/view_window.h"
#include "wizard/default_area.h"
#include "wizard/wizard_construction.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <memory>

namespace mw {

namespace {

// "Name (*.a);;Other (*.b)" as the dialog service's "Name (*.a)|*.a|Other (*.b)|*.b".
QString pipeFilter(const QString& qtFilter)
{
    static const QRegularExpression patterns(QStringLiteral("\\(([^)]*)\\)"));
    QStringList parts;
    for (const QString& entry : qtFilter.split(QStringLiteral(";;"), Qt::SkipEmptyParts)) {
        const QRegularExpressionMatch m = patterns.match(entry);
        parts << entry << (m.hasMatch() ? m.captured(1) : QStringLiteral("*"));
    }
    return parts.join(QLatin1Char('|'));
}

// Runs `write` on a copy of the records: the writers that take them mutable change nothing
// the document keeps.
bool writeFromCopy(Document& document, const QString& path,
                   const std::function<bool(State&, const std::string&, MessageSink&)>& write)
{
    State copy = document.state();
    RecordingSink sink;
    const bool ok = write(copy, path.toStdString(), sink);
    for (const auto& m : sink.entries)
        document.report(m.kind, QString::fromStdString(m.text), path);
    return ok;
}

} // namespace

const State& DocumentViewHost::state() const
{
    return document_.state();
}

bool DocumentViewHost::loadMesh(const QString& path, bool smd, const ViewOptions& options)
{
    (void)smd; // the document reads by extension, as the window chose
    if (!document_.maybeSave(window_))
        return false;
    MeshLoadOptions load;
    load.using3dsMax = options.usingThreeDsMax;
    return document_.loadMesh(path, load);
}

bool DocumentViewHost::loadGmdc(const QString& path)
{
    return document_.maybeSave(window_) && document_.loadGmdc(path);
}

bool DocumentViewHost::commitModel(int model, std::int16_t subGroup, std::int16_t targetObject)
{
    if (model < 1 || static_cast<std::size_t>(model) > document_.state().models.models.size())
        return false;
    document_.editModels([&](ModelSet& models) {
        MeshModel& m = models.models[static_cast<std::size_t>(model - 1)];
        m.subGroup = subGroup;
        m.targetObject = targetObject;
    });
    return true;
}

bool DocumentViewHost::replaceModels(const ViewOptions& options)
{
    return document_.applyEdit(QObject::tr("Replace"),
                               [&](State& s, MessageSink& sink) { return replace_models(s, options, sink); });
}

bool DocumentViewHost::addModels(const ViewOptions& options)
{
    return document_.applyEdit(QObject::tr("Add model"),
                               [&](State& s, MessageSink& sink) { return add_models(s, options, sink); });
}

bool DocumentViewHost::saveGmdc(const QString& path, bool bodyEditing)
{
    return document_.saveGmdc(path, bodyEditing ? Document::Layout::BodyMesh : Document::Layout::Plain);
}

QString DocumentViewHost::saveGmdcFileName(const QString& caption, const QString& folder)
{
    return document_.askGmdcSavePath(window_, caption, folder);
}

bool DocumentViewHost::emptyP5()
{
    return document_.applyEdit(QObject::tr("Empty P5"), [](State& s, MessageSink& sink) {
        GmdcFile area;
        std::string error;
        if (!loadDefaultArea(area, join_path(program_folder(), kDefaultAreaFileName), error)) {
            sink.error(error);
            return false;
        }
        removeP5(s.gmdc, area.boundingVertices, area.boundingFaces);
        return true;
    });
}

bool DocumentViewHost::writeSmd(const QString& path, int objectNumber, std::int16_t mode)
{
    return writeFromCopy(document_, path, [&](State& s, const std::string& file, MessageSink& sink) {
        return write_smd(s, file, objectNumber, mode, sink);
    });
}

bool DocumentViewHost::writeObj(const QString& path, int modelNumber)
{
    return writeFromCopy(document_, path, [&](State& s, const std::string& file, MessageSink& sink) {
        return write_obj(s, file, modelNumber, sink);
    });
}

QString DocumentViewHost::openFileName(const QString& caption, const QString& filter, const QString& folder)
{
    return document_.dialogs().openFile(window_, caption, pipeFilter(filter), folder);
}

QString DocumentViewHost::saveFileName(const QString& caption, const QString& filter, const QString& suggestedPath)
{
    return document_.dialogs().saveFile(window_, caption, pipeFilter(filter), suggestedPath);
}

void DocumentViewHost::showMessage(const QString& text)
{
    document_.dialogs().message(window_, text);
}

void registerViewWindows()
{
    registerToolWindow(ToolWindow::View3D, [](Document& document, QWidget* mainWindow) {
        QWidget* owner = mainWindow ? mainWindow : document.dialogOwner();
        auto* window = owner ? owner->findChild<ViewWindow*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
        if (!window) {
            auto host = std::make_shared<DocumentViewHost>(document, owner);
            window = new ViewWindow(*host, owner);
            host->setWindow(window);
            // The host lives as long as its window.
            QObject::connect(window, &QObject::destroyed, [host] {});
            auto refresh = [window] { window->refreshLists(); };
            QObject::connect(&document, &Document::gmdcChanged, window, refresh);
            QObject::connect(&document, &Document::modelsChanged, window, refresh);
            // Models loaded anywhere bring their bitmaps from their mesh file's folder.
            auto textures = [window, &document] {
                const QString mesh = document.meshPath();
                window->reloadTextures(mesh.isEmpty() ? QString() : QFileInfo(mesh).absolutePath());
            };
            textures();
            QObject::connect(&document, &Document::filesChanged, window, textures);
        }
        window->show();
        window->raise();
        window->activateWindow();
    });
    registerToolWindow(ToolWindow::Camera, [](Document& document, QWidget* mainWindow) {
        QWidget* owner = mainWindow ? mainWindow : document.dialogOwner();
        auto* window = owner ? owner->findChild<CameraWindow*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
        if (!window) {
            window = new CameraWindow(document.state(), owner);
            QObject::connect(window, &CameraWindow::glFailed, window,
                             [&document, window] { document.dialogs().message(window, kGlFailureMessage); });
        }
        window->show();
        window->raise();
        window->activateWindow();
    });
}

} // namespace mw
