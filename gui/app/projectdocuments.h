#pragma once

#include "core/data/projectviews.h"

class CScriptEditApp;

// Lets the project model open and close files as the editor's documents.
class CProjectDocuments : public IProjectDocuments
{
public:
    explicit CProjectDocuments(CScriptEditApp& app) : m_app(app) { }

    QObject* OpenDocument(const QString& sPath) override;
    void RemoveNewestRecentFile() override;
    bool IsModified(QObject* pDoc) const override;
    void SaveModifiedCheck(QObject* pDoc) override;
    void CloseDocument(QObject* pDoc) override;
    QString DocumentPath(QObject* pDoc) const override;

private:
    CScriptEditApp& m_app;
};
