// The image button as assistive tools (screen readers, AT-SPI clients) see it.
#pragma once

namespace fotavel {

// Makes Qt describe every image button as a named push button that can be
// pressed. Idempotent; each button calls it when it is made.
void InstallBoutonAccessibility();

}  // namespace fotavel
