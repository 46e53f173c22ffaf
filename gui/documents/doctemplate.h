#pragma once

#include "core/documents/doctypes.h"

#include <QList>
#include <QObject>

class CScriptDoc;
class CScriptEditApp;

// Makes documents of one kind and keeps the list of those open.
class CDocTemplate : public QObject
{
    Q_OBJECT
public:
    CDocTemplate(CScriptEditApp& app, const SDocTypeInfo& type);

    const SDocTypeInfo& Type() const { return m_type; }
    QString GetDocString(EDocField eField) const { return TemplateField(m_type, eField); }
    // "Script Files (.sqs)|*.sqs|All Files (*.*)|*.*||": what its save dialog offers.
    QString SaveFilter() const;
    CScriptEditApp& App() const { return m_app; }

    // An untitled document when sPath is empty; null when the file cannot be opened.
    CScriptDoc* OpenDocumentFile(const QString& sPath, bool bAddToRecent = true);
    const QList<CScriptDoc*>& Documents() const { return m_documents; }
    void RemoveDocument(CScriptDoc* pDoc) { m_documents.removeAll(pDoc); }

private:
    CScriptEditApp& m_app;
    const SDocTypeInfo& m_type;
    QList<CScriptDoc*> m_documents;
};
