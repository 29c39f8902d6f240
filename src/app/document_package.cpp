// The application object's package side: picking a GMDC resource out of a Sims 2 package
// and writing the GMDC back into a copy of it.
#include "app/document.h"

#include "gmdc/gmdc_reader.h"

#include <QFileInfo>

namespace mw {

namespace {

QString hex32(std::uint32_t v)
{
    return QStringLiteral("0x") + QStringLiteral("%1").arg(v, 8, 16, QLatin1Char('0')).toUpper();
}

// One row of the chooser: the resource's number in the package's list, as `info` numbers it.
QString chooserRow(const Package& package, std::size_t index)
{
    const PackageResource& r = package.resources[index];
    QString row =
        QObject::tr("Resource %1: group %2, instance %3").arg(index + 1).arg(hex32(r.group), hex32(r.instance));
    if (package.hasInstanceHigh)
        row += QObject::tr(", instance-high %1").arg(hex32(r.instanceHigh));
    row += QObject::tr(", %1 bytes").arg(r.uncompressedSize);
    if (r.compressed)
        row += QObject::tr(" (compressed to %1)").arg(r.storedSize);
    return row;
}

} // namespace

bool Document::readPackageGmdc(const QString& path, GmdcFile& gmdc, int& resource, PackageResource& entry,
                               RecordingSink& sink)
{
    Package package;
    std::string error;
    if (!readPackage(path.toStdString(), package, error)) {
        sink.error(error);
        return false;
    }
    const std::vector<std::size_t> gmdcs = resourcesOfType(package, kTypeGmdc);
    if (gmdcs.empty()) {
        sink.error(tr("%1 holds no GMDC resource. Nothing was loaded.").arg(path).toStdString());
        return false;
    }
    std::size_t index = gmdcs.front();
    if (gmdcs.size() > 1) {
        QStringList rows;
        for (std::size_t i : gmdcs)
            rows << chooserRow(package, i);
        const int row = dialogs_.chooseItem(
            owner_, tr("Choose a GMDC resource"),
            tr("%1 holds %2 GMDC resources. Load which one?").arg(QFileInfo(path).fileName()).arg(gmdcs.size()), rows);
        if (row < 0) {
            note(tr("Nothing was loaded: no GMDC resource was chosen."));
            return false;
        }
        index = gmdcs[static_cast<std::size_t>(row)];
    }
    std::string bytes;
    const std::string label = path.toStdString() + ", " + describeResource(package, index);
    if (!resourceBytes(package, index, bytes, error) || !parseGmdc(bytes, gmdc, error, label)) {
        sink.error(error);
        return false;
    }
    resource = static_cast<int>(index);
    entry = package.resources[index];
    return true;
}

bool Document::preparePackageSave(const QString& path, Package& package, RecordingSink& sink)
{
    const std::string target = path.toStdString();
    if (packagePath_.isEmpty()) {
        sink.error("Cannot save \"" + target +
                   "\": a package is written as a copy of the package the GMDC was loaded from, and this GMDC was "
                   "not loaded from a package. Save it as a GMDC file (.5gd or .simpe). Nothing was written.");
        return false;
    }
    const QFileInfo source(packagePath_), dest(path);
    if (dest.exists() && source.canonicalFilePath() == dest.canonicalFilePath()) {
        const QString question = tr("Write the GMDC back into %1 as its resource %2? Every other resource of the "
                                    "package stays as it is.")
                                     .arg(path)
                                     .arg(packageResource_ + 1);
        if (dialogs_.question(owner_, question, QMessageBox::Save | QMessageBox::Cancel, QMessageBox::Save) !=
            QMessageBox::Save) {
            note(tr("Nothing was saved: writing into %1 was not confirmed.").arg(path));
            return false;
        }
    }
    // Read again now: the copy keeps the package's other resources as they are on disk.
    std::string error;
    if (!readPackage(packagePath_.toStdString(), package, error)) {
        sink.error("Cannot save \"" + target + "\": " + error + " Nothing was written.");
        return false;
    }
    const auto index = static_cast<std::size_t>(packageResource_);
    const PackageResource* r = index < package.resources.size() ? &package.resources[index] : nullptr;
    if (!r || r->type != kTypeGmdc || r->group != packageEntry_.group || r->instance != packageEntry_.instance ||
        r->instanceHigh != packageEntry_.instanceHigh) {
        sink.error("Cannot save \"" + target + "\": " + packagePath_.toStdString() +
                   " has changed since the GMDC was loaded; its resource " + std::to_string(index + 1) +
                   " is no longer that GMDC. Nothing was written.");
        return false;
    }
    return true;
}

} // namespace mw
