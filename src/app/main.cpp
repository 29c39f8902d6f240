// meshwright: the desktop program. `meshwright [MESH] [GMDC]` opens the files as steps 1
// and 2; --help and --version print and exit without needing a display.
#include "app/dialog_service.h"
#include "app/document.h"
#include "app/main_window.h"
#ifdef MESHWRIGHT_HAS_VIEW_UI
#include "app/view_windows.h"
#endif
#include "app/widgets.h"
#include "gmdc/ui/gmdc_editing_window.h"

#include <QApplication>
#include <QFileInfo>

#include <cstdio>
#include <cstring>

void meshwrightInitResources()
{
    Q_INIT_RESOURCE(meshwright);
}

namespace {

const char* const kUsage = "Usage: meshwright [MESH] [GMDC]\n\n"
                           "The desktop program of Meshwright, a tool for The Sims 2's GMDC mesh files.\n"
                           "MESH (an .obj or .smd file) is opened as step 1 and GMDC (a .simpe or .5gd\n"
                           "file) as step 2, so that step 4 can merge and save at once.\n\n"
                           "  -h, --help     print this text and exit\n"
                           "  --version      print the version and exit\n\n"
                           "The command line tool is meshwright-cli (meshwright-cli --help).\n";

} // namespace

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("meshwright %s\n", MESHWRIGHT_VERSION);
            return 0;
        }
        if (argv[i][0] == '-' && argv[i][1] != '\0') {
            std::fprintf(stderr, "meshwright: unknown option %s\n\n%s", argv[i], kUsage);
            return 2;
        }
    }

    QApplication app(argc, argv);
    meshwrightInitResources();
    QApplication::setOrganizationName(QStringLiteral("Meshwright"));
    QApplication::setApplicationName(QFileInfo(QString::fromLocal8Bit(argv[0])).baseName());
    QApplication::setApplicationDisplayName(mw::programTitle());
    QApplication::setApplicationVersion(QStringLiteral(MESHWRIGHT_VERSION));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/meshwright/meshwright.png")));

    // Windows of other subsystems register here (mw::registerToolWindow) before the main
    // window is made.
    mw::registerGmdcEditingWindow();
#ifdef MESHWRIGHT_HAS_VIEW_UI
    mw::registerViewWindows();
#endif

    mw::QtDialogService dialogs;
    mw::Document document(dialogs);
    mw::MainWindow window(document);
    window.show();
    QStringList files = QApplication::arguments();
    files.removeFirst();
    if (!files.isEmpty())
        window.openFiles(files);
    return QApplication::exec();
}
