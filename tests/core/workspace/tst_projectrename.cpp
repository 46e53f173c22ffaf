#include "core/workspace/projectrename.h"

#include <QtTest>

class TestProjectRename : public QObject
{
    Q_OBJECT

private slots:
    void newPath_data()
    {
        QTest::addColumn<QString>("oldPath");
        QTest::addColumn<QString>("displayName");
        QTest::addColumn<QString>("entered");
        QTest::addColumn<QString>("expected");  // empty: nothing happens

        const QString a = QStringLiteral("/m/Mission.Isle/a.sqs");
        QTest::newRow("no extension keeps the old one") << a << "a"
                                                        << "b"
                                                        << "/m/Mission.Isle/b.sqs";
        QTest::newRow("own extension kept") << a << "a"
                                            << "b.sqf"
                                            << "/m/Mission.Isle/b.sqf";
        QTest::newRow("last dot starts the extension") << a << "a"
                                                       << "b.c.sqf"
                                                       << "/m/Mission.Isle/b.c.sqf";
        QTest::newRow("forbidden characters dropped") << a << "a"
                                                      << "x:y"
                                                      << "/m/Mission.Isle/xy.sqs";
        QTest::newRow("slashes cannot leave the folder") << a << "a"
                                                         << "../up/b"
                                                         << "/m/Mission.Isle/..upb";
        QTest::newRow("old file without extension") << "/m/readme"
                                                    << "readme"
                                                    << "notes"
                                                    << "/m/notes";
        QTest::newRow("empty name") << a << "a"
                                    << ""
                                    << "";
        QTest::newRow("only forbidden characters") << a << "a"
                                                   << "<:>"
                                                   << "";
        QTest::newRow("only dots") << a << "a"
                                   << ".."
                                   << "";
        QTest::newRow("the name shown now") << a << "a.sqs"
                                            << "a.sqs"
                                            << "";
        QTest::newRow("its own path under the other display") << a << "a"
                                                              << "a.sqs"
                                                              << "";
        QTest::newRow("case alone is another name") << a << "a"
                                                    << "A"
                                                    << "/m/Mission.Isle/A.sqs";
    }
    void newPath()
    {
        QFETCH(QString, oldPath);
        QFETCH(QString, displayName);
        QFETCH(QString, entered);
        QFETCH(QString, expected);
        QCOMPARE(ProjectRename::NewPath(oldPath, displayName, entered).value_or(QString()), expected);
    }
};

QTEST_APPLESS_MAIN(TestProjectRename)
#include "tst_projectrename.moc"
