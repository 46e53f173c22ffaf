#pragma once

#include "core/frame/commandtable.h"

#include <QObject>

#include <functional>
#include <memory>

class CCommandDlg;
class CProjectModel;
class CProjectTree;

// The command bar's trees: the project tree follows the project model, a
// double click opens a project file, and each tree offers its item menus.
class CProjectCommands : public QObject
{
    Q_OBJECT
public:
    using ShowMenu = std::function<void(const QList<SMenuEntry>&, const QPoint& ptGlobal)>;

    CProjectCommands(CCommandDlg& bar, CProjectModel& project, ShowMenu showMenu);
    ~CProjectCommands() override;

private:
    CProjectModel& m_project;
    std::unique_ptr<CProjectTree> m_pTree;
};
