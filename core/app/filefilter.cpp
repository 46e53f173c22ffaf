#include "core/app/filefilter.h"

#include <QRegularExpression>
#include <QStringList>

QString GetFileFilter()
{
    return QStringLiteral("Mission Files (sqs, sqf, ext, html, csv, txt)|*.sqs;*.ext;*.html;*.sqf;*.csv;*.txt|"
                          "Script Files (*.sqs)|*.sqs|"
                          "Function Files (*.sqf)|*.sqf|"
                          "Description Files (*.ext)|*.ext|"
                          "Briefing/Overview Files (*.html)|*.html|"
                          "String Table Files (*.csv)|*.csv|"
                          "Text Files (*.txt)|*.txt|"
                          "All Files (*.*)|*.*||");
}

namespace {

// The extensions a list names, whether written "*.sqs;*.sqf", "*.sqs *.sqf"
// or ".sqs": what tells whether a name's parentheses repeat its patterns.
QStringList Extensions(const QString& sList)
{
    QStringList extensions;
    for (QString sItem : sList.split(QRegularExpression(QStringLiteral("[ ,;]+")), Qt::SkipEmptyParts))
        extensions.append(sItem.remove(QLatin1Char('*')));
    extensions.sort();
    return extensions;
}

}  // namespace

QString DialogFilter(const QString& sBarFilter)
{
    const QStringList parts = sBarFilter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& sName = parts[i];
        if (sName.isEmpty())
            break;
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        const QStringList extensions = Extensions(patterns.join(QLatin1Char(';')));
        for (QString& sPattern : patterns)
            if (sPattern == QLatin1String("*.*"))
                sPattern = QStringLiteral("*");
        // The dialog takes the last parenthesised group as the patterns. A
        // name that shows its patterns already gets them in that place; any
        // other name is followed by them.
        QString sShown = sName;
        const qsizetype nOpen = sName.lastIndexOf(QLatin1Char('('));
        if (nOpen >= 0 && sName.endsWith(QLatin1Char(')'))
            && Extensions(sName.mid(nOpen + 1, sName.size() - nOpen - 2)) == extensions)
            sShown = sName.left(nOpen).trimmed();
        filters.append(sShown + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')'));
    }
    return filters.join(QStringLiteral(";;"));
}
