#pragma once

#include <QString>

class QObject;

// Handle of an item in the project tree; the model hands them out, 0 is none.
using HTreeItem = quint32;
constexpr HTreeItem kNoTreeItem = 0;
constexpr HTreeItem kRootTreeItem = 1;

// One file of the current project.
struct CProjectFile
{
    int bOpen = 0;
    HTreeItem hItem = kNoTreeItem;
    QObject* pDoc = nullptr;  // the document opened through the project, if any
    QString sName;
    QString sPath;

    bool InUse() const { return !sPath.isEmpty(); }
};
