#include "core/app/filefilter.h"

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

QString DialogFilter(const QString& sBarFilter)
{
    const QStringList parts = sBarFilter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& sName = parts[i];
        if (sName.isEmpty())
            break;
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& sPattern : patterns)
            if (sPattern == QLatin1String("*.*"))
                sPattern = QStringLiteral("*");
        // The dialog takes the last parenthesised group as the patterns, so
        // they always follow the name, even where the name shows them too.
        filters.append(sName + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')'));
    }
    return filters.join(QStringLiteral(";;"));
}
