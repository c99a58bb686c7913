#include "uAppStartup.h"

#include "uVelloxBSP.h"

std::unique_ptr<TdtmAppData> CreateAppData(TStartupPrompts& prompts, QObject* parent)
{
    auto data = std::make_unique<TdtmAppData>(prompts, parent);
    if (!data->CannotContinue())
        AttachReader(*data);
    return data;
}

void AttachReader(TdtmAppData& data)
{
    auto reader = std::make_shared<TVelloxBSP>();
    bool available = reader->DeviceCount() > 0;
    if (available) {
        try {
            reader->OpenDevice(0);
        } catch (const EVelloxError&) {
            available = false;
        }
    }
    data.SetReader(std::move(reader));
    data.SetReaderAvailable(available);
}
