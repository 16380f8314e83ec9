#include "embedding/base_form.h"

#include "embedding/host_messages.h"

#include <utility>

namespace tarnvex {

BaseForm::BaseForm(Platform& platform, const PluginContext& context, std::string caption)
    : platform_(platform), context_(context), caption_(std::move(caption)) {}

void BaseForm::Create() {
  // A host that shares nothing is normal: the text stays empty and nothing is
  // shown.
  host_map_text_ = platform_.ReadSharedMemoryText(kHostMapName, kHostMapTextBytes).value_or("");
  FormCreate();
}

void BaseForm::Show() { FormShow(); }

void BaseForm::HostResize(int32_t height, int32_t width) {
  panel_main_.SetHeight(height);
  panel_main_.SetWidth(width);
}

void BaseForm::Close() {
  if (closed_) return;
  closed_ = true;
  // The notification goes to the control of the latest entry call, whichever
  // call opened this screen.
  platform_.SendWindowMessage(context_.host_notify_control(), kHostClosedMessage);
  try {
    FormClose();
  } catch (...) {
    RequestRelease();
    throw;
  }
  RequestRelease();
}

void BaseForm::RequestRelease() {
  if (OnRelease) OnRelease();
}

}  // namespace tarnvex
