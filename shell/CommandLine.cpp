#include "shell/CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <unistd.h>

namespace zt {

namespace {

// A folder reached through a descriptor (its name is no UTF-8) is shown by
// the name it has, its bad bytes as replacement characters.
QString shown(const QString &path) {
    const QString prefix = QStringLiteral("/proc/self/fd/");
    if (!path.startsWith(prefix)) return QDir::toNativeSeparators(path);
    const qsizetype end = path.indexOf(QLatin1Char('/'), prefix.size());
    char target[4096];
    const ssize_t n = readlink(QFile::encodeName(path.left(end)).constData(), target, sizeof target);
    if (n <= 0 || n == ssize_t(sizeof target)) return QDir::toNativeSeparators(path);
    return QDir::toNativeSeparators(QFile::decodeName(QByteArray(target, int(n))) + (end < 0 ? QString() : path.mid(end)));
}

QString foldersText(const Locations &where) {
    const QString settings = QDir(where.settingsDir).filePath(QStringLiteral("speed.kdz"));
    QString text = QCoreApplication::translate("CommandLine", "\nFiles:\n  sounds    %1\n  music     %2\n  settings  %3\n")
                       .arg(shown(where.soundsDir()), shown(where.musicDir()), shown(settings));
    if (!where.fallbackDir.isEmpty())
        text += QCoreApplication::translate("CommandLine", "            (or %1 when that folder cannot be written)\n")
                    .arg(shown(QDir(where.fallbackDir).filePath(QStringLiteral("speed.kdz"))));
    return text;
}

// The holder's name stays as it is in every language; the rest is the user's.
QString licenceText() {
    return QStringLiteral("Copyright 2026 The Zentolletto developers.\n") +
           QCoreApplication::translate("CommandLine",
                                       "Free software under the GNU GPL, version 3 or later (GPL-3.0-or-later):\n"
                                       "you may share and change it. There is NO WARRANTY.\n");
}

// QApplication takes these from the command line itself once it starts; the
// parser only has to let them through, with their values.
void acceptQtOptions(QCommandLineParser &parser) {
    QList<QCommandLineOption> options;
    for (const char *name : {"platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry", "geometry",
                             "qwindowicon", "icon", "qwindowtitle", "title", "session", "display", "name", "style",
                             "stylesheet", "qmljsdebugger"})
        options << QCommandLineOption(QString::fromLatin1(name), QString(), QStringLiteral("value"));
    for (const char *name : {"reverse", "widgetcount", "nograb", "dograb", "sync", "testability"})
        options << QCommandLineOption(QString::fromLatin1(name));
    for (QCommandLineOption &option : options) {
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    // Qt's options have one dash: -style fusion.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
}

} // namespace

CommandLine parseCommandLine(const QStringList &arguments, const Locations &where) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QCoreApplication::translate("CommandLine", "The Italian fishing card game with the 40-card deck, against the computer."));
    // Not addHelpOption(): read before QApplication exists, its --help-all would miss Qt's window options.
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QCoreApplication::translate("CommandLine", "Displays help on commandline options."));
    parser.addOption(help);
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption seed(QStringLiteral("seed"),
                                  QCoreApplication::translate("CommandLine", "Deal the same games every run: shuffles, places on the table, "
                                                                        "the computer's choices and the first player follow <N>."),
                                  QStringLiteral("N"));
    parser.addOption(seed);
    acceptQtOptions(parser);

    CommandLine result;
    if (!parser.parse(arguments)) {
        result.action = CommandLine::Fail;
        result.text = parser.errorText();
        return result;
    }
    if (parser.isSet(help)) {
        result.action = CommandLine::ShowHelp;
        result.text = parser.helpText() + foldersText(where) + QLatin1Char('\n') + licenceText();
        return result;
    }
    if (parser.isSet(version)) {
        result.action = CommandLine::ShowVersion;
        result.text = QCoreApplication::applicationName() + QLatin1Char(' ') +
                      QCoreApplication::applicationVersion() + QLatin1Char('\n') + licenceText();
        return result;
    }
    if (!parser.positionalArguments().isEmpty()) {
        result.action = CommandLine::Fail;
        result.text = QCoreApplication::translate("CommandLine", "Unexpected argument '%1'.").arg(parser.positionalArguments().constFirst());
        return result;
    }
    if (parser.isSet(seed)) {
        bool ok = false;
        const QString value = parser.value(seed);
        result.seed = value.toULongLong(&ok);
        if (!ok) {
            result.action = CommandLine::Fail;
            result.text = QCoreApplication::translate("CommandLine", "Invalid seed '%1': give a whole number from 0 to %2.")
                              .arg(value)
                              .arg(std::numeric_limits<quint64>::max());
            result.seed.reset();
        }
    }
    return result;
}

} // namespace zt
