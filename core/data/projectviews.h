#pragma once

#include "core/data/projectfile.h"

// What the project tree must show. The tree widget implements it; the model
// never touches widgets.
class IProjectTree
{
public:
    virtual ~IProjectTree() = default;
    virtual void ClearTree() = 0;
    virtual void SetRoot(const QString& sText, int nImage) = 0;
    // Items hang under the root, appended at the end.
    virtual void AddItem(HTreeItem hItem, const QString& sText, int nImage) = 0;
    virtual void RemoveItem(HTreeItem hItem) = 0;
    virtual void SetItemImage(HTreeItem hItem, int nImage) = 0;
    virtual void SetItemText(HTreeItem hItem, const QString& sText) = 0;
    virtual void SetRootText(const QString& sText) = 0;
    virtual void ExpandAndSelectRoot() = 0;
    virtual void ExpandRootAndShow(HTreeItem hItem) = 0;
};

// How the model has files opened and closed as documents.
class IProjectDocuments
{
public:
    virtual ~IProjectDocuments() = default;
    // Opens the file, or activates it when it is open already; null on
    // failure. Openings through the project do not count as recent files.
    virtual QObject* OpenDocument(const QString& sPath) = 0;
    virtual bool IsModified(QObject* pDoc) const = 0;
    // Offers to save; whatever the answer, the caller closes the document next.
    virtual void SaveModifiedCheck(QObject* pDoc) = 0;
    // Closes without asking.
    virtual void CloseDocument(QObject* pDoc) = 0;
    virtual QString DocumentPath(QObject* pDoc) const = 0;
};
