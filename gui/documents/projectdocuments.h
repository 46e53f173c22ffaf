#pragma once

#include "core/data/projectviews.h"

class CDocManager;

// Lets the project model open and close files as the editor's documents.
class CProjectDocuments : public IProjectDocuments
{
public:
    explicit CProjectDocuments(CDocManager& documents) : m_documents(documents) { }

    QObject* OpenDocument(const QString& sPath) override;
    bool IsModified(QObject* pDoc) const override;
    void SaveModifiedCheck(QObject* pDoc) override;
    void CloseDocument(QObject* pDoc) override;
    QString DocumentPath(QObject* pDoc) const override;

private:
    CDocManager& m_documents;
};
