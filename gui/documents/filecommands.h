#pragma once

#include <QObject>

#include <functional>

class CChildFrame;
class CCommands;
class CDocManager;
class QMenu;
class QWidget;
struct CDataPaths;

// The File menu's commands and the data files of the Tools menu: making,
// opening, saving and closing documents.
class CFileCommands : public QObject
{
    Q_OBJECT
public:
    using ActiveFrame = std::function<CChildFrame*()>;

    CFileCommands(CCommands& commands, CDocManager& documents, const CDataPaths& paths, ActiveFrame activeFrame,
                  QWidget* pWindow);

    // The first six recent files, "&1 ...\Init.sqs".
    void FillRecentFiles(QMenu* pMenu);

private:
    void OnFileOpen();

    CDocManager& m_documents;
    ActiveFrame m_activeFrame;
};
