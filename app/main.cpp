#include "gui/app/scripteditapp.h"

int main(int argc, char** argv)
{
    CScriptEditApp app(argc, argv);
    if (!app.InitInstance())
        return app.ExitCode();
    return app.exec();
}
