#pragma once

// The seven tabs of the parameters window, in their order.

#include "app/para_page_builder.h"

namespace ombrel::app {

void buildBasicTab(ParaPageBuilder& build);
void buildBluetoothTab(ParaPageBuilder& build);
void buildWifiTab(ParaPageBuilder& build);
void buildNetworkTab(ParaPageBuilder& build);
void buildInfraredTab(ParaPageBuilder& build);
void buildDownloadTab(ParaPageBuilder& build);
void buildProductTab(ParaPageBuilder& build);

}  // namespace ombrel::app
