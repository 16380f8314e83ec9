#include "host/win32/dispatch_call.h"

#include <cstdio>
#include <string>
#include <vector>

#include "host/host_data_service.h"
#include "host/win32/bstr.h"
#include "text/codepage.h"

namespace tarnvex {

namespace {

// The strings of an EXCEPINFO, owned: the callee allocated them for us.
struct ExceptionStrings {
  explicit ExceptionStrings(const EXCEPINFO& info)
      : source(Bstr::Adopt(info.bstrSource)),
        description(Bstr::Adopt(info.bstrDescription)),
        help_file(Bstr::Adopt(info.bstrHelpFile)) {}

  Bstr source;
  Bstr description;
  Bstr help_file;
};

std::string FailureText(DISPID id, HRESULT code, const std::u16string& description) {
  char hex[16];
  std::snprintf(hex, sizeof hex, "%08lX", static_cast<unsigned long>(code));
  std::string text = "宿主调用失败（调度号 " + std::to_string(id) + "，错误码 0x" + hex + "）";
  if (!description.empty()) text += "：" + Utf16ToCp936(description);
  return text;
}

}  // namespace

VariantHolder InvokeMethod(IDispatch& object, DISPID id, std::span<const VARIANT> arguments) {
  // Shallow copies: the caller's holders keep owning what the arguments hold.
  std::vector<VARIANTARG> reversed(arguments.rbegin(), arguments.rend());
  DISPPARAMS parameters{};
  parameters.rgvarg = reversed.empty() ? nullptr : reversed.data();
  parameters.cArgs = static_cast<UINT>(reversed.size());

  VariantHolder result;
  EXCEPINFO info{};
  UINT argument_error = 0;
  HRESULT outcome = object.Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &parameters,
                                  result.get(), &info, &argument_error);
  // The callee may defer filling in the strings until someone wants them.
  if (outcome == DISP_E_EXCEPTION && info.pfnDeferredFillIn != nullptr)
    info.pfnDeferredFillIn(&info);
  ExceptionStrings strings(info);
  if (FAILED(outcome)) {
    HRESULT code = outcome == DISP_E_EXCEPTION && FAILED(info.scode) ? info.scode : outcome;
    throw HostCallError(FailureText(id, code, Bstr::ToString(strings.description.get())));
  }
  return result;
}

}  // namespace tarnvex
