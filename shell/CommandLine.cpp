#include "shell/CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>

namespace zt {

namespace {

QString foldersText(const Locations &where) {
    const QString settings = QDir(where.settingsDir).filePath(QStringLiteral("speed.kdz"));
    QString text = QCoreApplication::translate("CommandLine", "\nFiles:\n  sounds    %1\n  music     %2\n  settings  %3\n")
                       .arg(QDir::toNativeSeparators(where.soundsDir()), QDir::toNativeSeparators(where.musicDir()),
                            QDir::toNativeSeparators(settings));
    if (!where.fallbackDir.isEmpty())
        text += QCoreApplication::translate("CommandLine", "            (or %1 when that folder cannot be written)\n")
                    .arg(QDir::toNativeSeparators(QDir(where.fallbackDir).filePath(QStringLiteral("speed.kdz"))));
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
