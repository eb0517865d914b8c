// Builds the program's data folder from the readable sources of the repository: the texts of
// data/ in Windows-1251, the skin bitmaps, the pictures and the sound cues. Outputs whose bytes
// do not change are left alone, so the build can run it every time.

#include "generator.h"

#include <QCommandLineParser>
#include <QDir>
#include <QGuiApplication>
#include <QTextStream>

namespace {

struct Options
{
    QString source;
    OutputFolders out;
};

// The --source and --out folders; exits with a usage message when one is missing.
Options parseOptions(const QGuiApplication &app)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Generates the demo data folder from the repository's sources."));
    parser.addHelpOption();
    const QCommandLineOption source(QStringLiteral("source"),
                                    QStringLiteral("Repository root (holds data/ and datagen/)."),
                                    QStringLiteral("repo"));
    const QCommandLineOption out(QStringLiteral("out"),
                                 QStringLiteral("Data folder to fill, beside the executable."),
                                 QStringLiteral("dir"));
    const QCommandLineOption state(
        QStringLiteral("state-out"),
        QStringLiteral("Folder for the first state files, instead of the data folder."),
        QStringLiteral("dir"));
    const QCommandLineOption icons(QStringLiteral("icons"),
                                   QStringLiteral("Folder for the program's icon (SVG and PNG)."),
                                   QStringLiteral("dir"));
    parser.addOption(source);
    parser.addOption(out);
    parser.addOption(state);
    parser.addOption(icons);
    parser.process(app);
    if (!parser.isSet(source) || !parser.isSet(out)) {
        QTextStream(stderr) << "tarvel_datagen: --source and --out are required\n";
        parser.showHelp(2);
    }
    const auto folder = [&parser](const QCommandLineOption &option) {
        return parser.isSet(option) ? QDir::cleanPath(parser.value(option)) : QString();
    };
    return {folder(source), {folder(out), folder(state), folder(icons)}};
}

// The offscreen platform reads fonts only from its font folder; on Windows that is empty unless
// pointed at the system's fonts.
void findSystemFonts()
{
#ifdef Q_OS_WIN
    if (qEnvironmentVariableIsEmpty("QT_QPA_FONTDIR")) {
        const QString windows = qEnvironmentVariable("WINDIR", QStringLiteral("C:\\Windows"));
        qputenv("QT_QPA_FONTDIR",
                QDir::toNativeSeparators(windows + QStringLiteral("/Fonts")).toLocal8Bit());
    }
#endif
}

} // namespace

int main(int argc, char *argv[])
{
    // Text needs fonts and a painting surface, but no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    findSystemFonts();
    QGuiApplication app(argc, argv);
    const Options options = parseOptions(app);

    const Report report = generateAll(options.source, options.out);
    QTextStream err(stderr);
    for (const QString &error : report.errors)
        err << "tarvel_datagen: error: " << error << '\n';
    QTextStream(stdout) << summary(report) << '\n';
    return report.errors.isEmpty() ? 0 : 1;
}
