// The application object: core operations on the records, their messages and undo.
#include "app/document.h"

#include "app/settings.h"
#include "app/widgets.h"
#include "gmdc/gmdc_reader.h"
#include "merge/body_save.h"
#include "merge/merge_pass.h"
#include "mesh/gmdc_to_obj.h"
#include "mesh/obj_reader.h"
#include "mesh/smd_reader.h"

#include <QFile>
#include <QFileInfo>
#include <QUndoCommand>

#include <utility>

namespace mw {

namespace {

bool hasSuffix(const QString& path, std::initializer_list<const char*> suffixes)
{
    const QString suffix = QFileInfo(path).suffix();
    for (const char* s : suffixes)
        if (suffix.compare(QLatin1String(s), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

bool sameOptions(const ImportOptions& a, const ImportOptions& b)
{
    return a.importVertices == b.importVertices && a.importNormals == b.importNormals && a.importUVs == b.importUVs &&
           a.importPolygons == b.importPolygons;
}

void scalePositions(ModelSet& models, double percent)
{
    if (percent == 100.0)
        return;
    const float factor = static_cast<float>(percent / 100.0);
    for (MeshModel& m : models.models)
        for (Vec3f& v : m.vertices) {
            v.x *= factor;
            v.y *= factor;
            v.z *= factor;
        }
}

} // namespace

bool isMeshFile(const QString& path)
{
    return hasSuffix(path, {"obj", "smd"});
}

bool isGmdcFile(const QString& path)
{
    return hasSuffix(path, {"simpe", "5gd", "package"});
}

bool isPackageFile(const QString& path)
{
    return hasSuffix(path, {"package"});
}

// One undoable edit: the records before and after it. The first redo (from push) finds
// the records already changed.
class SnapshotCommand final : public QUndoCommand {
  public:
    SnapshotCommand(Document& document, const QString& name, State before, State after,
                    std::function<void(bool applied)> hook)
        : QUndoCommand(name), document_(document), before_(std::move(before)), after_(std::move(after)),
          hook_(std::move(hook))
    {
    }

    void undo() override
    {
        document_.restore(before_);
        if (hook_)
            hook_(false);
    }
    void redo() override
    {
        if (first_) {
            first_ = false;
        } else {
            document_.restore(after_);
        }
        if (hook_)
            hook_(true);
    }

  private:
    Document& document_;
    State before_;
    State after_;
    std::function<void(bool)> hook_;
    bool first_ = true;
};

Document::Document(DialogService& dialogs, QObject* parent) : QObject(parent), dialogs_(dialogs)
{
    // Each step holds two whole records; the largest GMDC is some 20 MB.
    undoStack_.setUndoLimit(32);
    connect(&undoStack_, &QUndoStack::cleanChanged, this, [this](bool clean) { emit modifiedChanged(!clean); });
}

Document::~Document()
{
    // The commands refer to this object; drop them before the members go.
    undoStack_.clear();
}

void Document::restore(const State& state)
{
    state_ = state;
    emit gmdcChanged();
    emit modelsChanged();
}

void Document::resetHistory()
{
    undoStack_.clear(); // also marks the stack clean
    merged_ = false;
    loadedGmdc_.reset();
}

void Document::cleanUp()
{
    state_.cleanUp();
    meshLoaded_ = false;
    meshPath_.clear();
    gmdcPath_.clear();
    packagePath_.clear();
    packageResource_ = -1;
    resetHistory();
    emit gmdcChanged();
    emit modelsChanged();
    emit filesChanged();
}

bool Document::loadMesh(const QString& path, const MeshLoadOptions& options)
{
    if (!isMeshFile(path)) {
        report(MessageKind::Error, tr("\"%1\" is not an OBJ or SMD file.").arg(path), path);
        return false;
    }
    // Read into fresh records, so that a refused file leaves the loaded ones alone.
    State fresh;
    RecordingSink sink;
    const std::string file = path.toStdString();
    bool ok = false;
    if (QFileInfo(path).suffix().compare(QLatin1String("smd"), Qt::CaseInsensitive) == 0) {
        SmdReadOptions smd;
        smd.studio3dsSmd = options.studio3dsSmd;
        smd.using3dsMax = options.using3dsMax;
        ok = read_smd(fresh, file, sink, smd);
    } else {
        ObjReadOptions obj;
        obj.dumpFiles = true;
        ok = read_obj(fresh, file, sink, obj);
    }
    if (ok) {
        const QString text = readScaleText(kScaleFromObj);
        bool valid = true;
        const double percent = scalePercent(text, &valid);
        if (!valid)
            note(tr("The setting ScaleFromObj holds \"%1\", which is no positive number: 100% is used.").arg(text));
        scalePositions(fresh.models, percent);
        cleanUp();
        state_.models = std::move(fresh.models);
        meshLoaded_ = true;
        meshPath_ = path;
        addRecentFile(path);
        emit modelsChanged();
        emit filesChanged();
    }
    reportAll(sink, path);
    return ok;
}

bool Document::loadGmdc(const QString& path)
{
    // A package is known by its first bytes, whatever its name.
    QFile probe(path);
    const bool package = probe.open(QIODevice::ReadOnly) && probe.read(4) == "DBPF";
    probe.close();
    RecordingSink sink;
    GmdcFile loaded;
    int resource = -1;
    PackageResource entry;
    const bool ok =
        package ? readPackageGmdc(path, loaded, resource, entry, sink) : readGmdc(loaded, path.toStdString(), sink);
    if (ok) {
        state_.gmdc = std::move(loaded);
        resetHistory();
        loadedGmdc_ = state_.gmdc;
        gmdcPath_ = path;
        packagePath_ = package ? path : QString();
        packageResource_ = resource;
        packageEntry_ = entry;
        addRecentFile(path);
        emit gmdcChanged();
        emit filesChanged();
        note(tr("Loaded %1: %2")
                 .arg(package ? tr("%1, resource %2").arg(path).arg(resource + 1) : path,
                      countOf(static_cast<qsizetype>(state_.gmdc.objects.size()), tr("object"))));
    }
    reportAll(sink, path);
    return ok;
}

QString Document::gmdcSourceName() const
{
    if (!hasGmdc())
        return {};
    if (gmdcPath_.isEmpty())
        return tr("new");
    const QString name = QFileInfo(gmdcPath_).fileName();
    return gmdcPath_ == packagePath_ ? tr("%1, resource %2").arg(name).arg(packageResource_ + 1) : name;
}

bool Document::applyEdit(const QString& name, const std::function<bool(State&, MessageSink&)>& edit)
{
    State before = state_;
    RecordingSink sink;
    const bool ok = edit(state_, sink);
    if (ok) {
        undoStack_.push(new SnapshotCommand(*this, name, std::move(before), state_, {}));
        emit gmdcChanged();
        emit modelsChanged();
    } else {
        state_ = std::move(before);
    }
    reportAll(sink, {});
    return ok;
}

bool Document::mergeModels(const ImportOptions& options, bool inputFileBoxEmpty)
{
    // With no input file named there is nothing to merge; the save goes on.
    if (inputFileBoxEmpty || (merged_ && sameOptions(options, mergeOptions_)))
        return true;
    State before = state_;
    if (merged_)
        state_.gmdc = loadedGmdc_;
    RecordingSink sink;
    if (!merge_models_into_gmdc(state_, options, sink)) {
        state_ = std::move(before);
        reportAll(sink, meshPath_);
        return false;
    }
    const bool wasMerged = merged_;
    const ImportOptions oldOptions = mergeOptions_;
    auto hook = [this, wasMerged, oldOptions, options](bool applied) {
        merged_ = applied ? true : wasMerged;
        mergeOptions_ = applied ? options : oldOptions;
    };
    undoStack_.push(new SnapshotCommand(*this, tr("Merge models"), std::move(before), state_, hook));
    emit gmdcChanged();
    reportAll(sink, meshPath_);
    return true;
}

QString Document::askGmdcSavePath(QWidget* owner, const QString& title, const QString& initialPath)
{
    if (packagePath_.isEmpty())
        return dialogs_.saveFile(owner, title, QLatin1String(kGmdcFilter), initialPath);
    return dialogs_.saveFile(
        owner, title, QLatin1String(kPackageFilter) + QLatin1Char('|') + QLatin1String(kGmdcFilter), packagePath_);
}

bool Document::saveGmdc(const QString& path, Layout layout)
{
    RecordingSink sink;
    Package package;
    const bool intoPackage = isPackageFile(path);
    if (intoPackage && !preparePackageSave(path, package, sink)) {
        reportAll(sink, path);
        return false;
    }
    GmdcBytesSaver saver;
    if (intoPackage)
        saver = [&](const std::string& bytes, MessageSink& out) {
            std::string error, notice;
            if (!writePackage(package, {{static_cast<std::size_t>(packageResource_), bytes}}, path.toStdString(), error,
                              &notice)) {
                out.error("Cannot save \"" + path.toStdString() + "\": " + error);
                return false;
            }
            if (!notice.empty())
                out.warning(notice);
            return true;
        };
    bool ok = false;
    if (layout == Layout::BodyMesh) {
        State copy = state_; // the body-mesh writer takes the records mutable
        ok = save_body_gmdc(copy, path.toStdString(), sink, saver);
    } else {
        ok = writeGmdc(state_.gmdc, path.toStdString(), sink, {}, saver);
    }
    if (ok) {
        if (intoPackage)
            packagePath_ = path; // the resource keeps its place in the copy
        markSaved(path);
    }
    reportAll(sink, path);
    return ok;
}

void Document::markSaved(const QString& path)
{
    undoStack_.setClean();
    savedPath_ = path;
    gmdcPath_ = path;
    addRecentFile(path);
    emit filesChanged();
    note(tr("Saved %1").arg(path == packagePath_ ? tr("%1, resource %2").arg(path).arg(packageResource_ + 1) : path));
}

void Document::editModels(const std::function<void(ModelSet&)>& edit)
{
    edit(state_.models);
    emit modelsChanged();
}

bool Document::exportObj(const QString& path, double scalePercent)
{
    RecordingSink sink;
    const bool ok = write_gmdc_as_obj(state_.gmdc, path.toStdString(), scalePercent, sink);
    reportAll(sink, path);
    if (ok)
        note(tr("Wrote %1 to %2").arg(countOf(static_cast<qsizetype>(state_.gmdc.objects.size()), tr("object")), path));
    return ok;
}

bool Document::buildNewObject(const WizardOptions& options)
{
    if (!applyEdit(tr("Build new object"),
                   [&](State& state, MessageSink& sink) { return build_new_object(state, options, sink); }))
        return false;
    packagePath_.clear(); // a new GMDC belongs to no package
    packageResource_ = -1;
    emit filesChanged();
    return true;
}

void Document::report(MessageKind kind, const QString& text, const QString& file)
{
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QString line = file.isEmpty() ? shown : file + QLatin1String(": ") + shown;
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    emit logged(line);
    if (kind == MessageKind::Warning)
        emit statusNote(line);
    else
        dialogs_.message(owner_, shown);
}

void Document::note(const QString& text)
{
    emit logged(text);
    emit statusNote(text);
}

void Document::reportAll(const RecordingSink& sink, const QString& file)
{
    for (const RecordingSink::Entry& e : sink.entries)
        report(e.kind, QString::fromStdString(e.text), file);
}

bool Document::maybeSave(QWidget* owner)
{
    if (!isModified())
        return true;
    const QMessageBox::StandardButton answer =
        dialogs_.question(owner, tr("The GMDC has changes that are not saved. Save them first?"),
                          QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    if (answer == QMessageBox::Discard)
        return true;
    if (answer != QMessageBox::Save)
        return false;
    const QString path = askGmdcSavePath(owner, tr("Save the GMDC"), gmdcPath_);
    return !path.isEmpty() && saveGmdc(path);
}

} // namespace mw
