#include "uClockApplication.h"
#include "uCommandLine.h"

int main(int argc, char* argv[])
{
    TClockApplication application(argc, argv);
    const TCommandLine commandLine(application);
    return application.Run(commandLine.ShowSplash());
}
