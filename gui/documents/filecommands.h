#pragma once

#include <QObject>

#include <functional>
#include <memory>

class CChildFrame;
class CCommands;
class CDocManager;
class QMenu;
class QPrinter;
class QWidget;
struct CDataPaths;

// The File menu's commands and the data files of the Tools menu: making,
// opening, saving, closing and printing documents.
class CFileCommands : public QObject
{
    Q_OBJECT
public:
    using ActiveFrame = std::function<CChildFrame*()>;

    CFileCommands(CCommands& commands, CDocManager& documents, const CDataPaths& paths, ActiveFrame activeFrame,
                  QWidget* pWindow);
    ~CFileCommands() override;

    // The first six recent files, "&1 ...\Init.sqs".
    void FillRecentFiles(QMenu* pMenu);

private:
    void OnFileOpen();
    void OnFilePrint();
    void OnFilePrintPreview();
    void OnFilePrintSetup();

    CDocManager& m_documents;
    ActiveFrame m_activeFrame;
    QWidget* m_pWindow;
    std::unique_ptr<QPrinter> m_pPrinter;
};
