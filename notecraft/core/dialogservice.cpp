#include "notecraft/core/dialogservice.h"

namespace notecraft {

namespace {
DialogService* g_service = nullptr;
}

DialogService* CurrentDialogService() noexcept {
  return g_service;
}

void SetDialogService(DialogService* service) noexcept {
  g_service = service;
}

}  // namespace notecraft
