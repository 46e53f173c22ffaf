#pragma once

#include "core/documents/doctypes.h"

#include <QList>
#include <QObject>

#include <functional>

class CDocManager;
class CScriptDoc;

// Makes documents of one kind and keeps the list of those open.
class CDocTemplate : public QObject
{
    Q_OBJECT
public:
    CDocTemplate(CDocManager& manager, const SDocTypeInfo& type);

    const SDocTypeInfo& Type() const { return m_type; }
    QString GetDocString(EDocField eField) const { return TemplateField(m_type, eField); }
    // "Script Files (.sqs)|*.sqs|All Files (*.*)|*.*||": what its save dialog offers.
    QString SaveFilter() const;
    CDocManager& Manager() const { return m_manager; }

    // Null when the file cannot be opened.
    CScriptDoc* OpenDocumentFile(const QString& sPath, bool bAddToRecent = true);
    // An untitled document, with the header of its type when asked for.
    CScriptDoc* NewDocument(bool bHeader);
    const QList<CScriptDoc*>& Documents() const { return m_documents; }
    void RemoveDocument(CScriptDoc* pDoc) { m_documents.removeAll(pDoc); }

private:
    // The document in a window of its own, shown for the first time.
    // fill puts the text in once the window is there.
    CScriptDoc* Show(CScriptDoc* pDoc, const std::function<void()>& fill = {});

    CDocManager& m_manager;
    const SDocTypeInfo& m_type;
    QList<CScriptDoc*> m_documents;
};
