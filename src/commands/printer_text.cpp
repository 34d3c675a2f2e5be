#include "commands/printer_text.h"

#include <string>

#include "texts/text_codec.h"

namespace ombrel {

namespace {
std::string fieldName(const TextField& field) { return std::string(field.label) + " (" + field.control + ")"; }
}  // namespace

std::variant<Bytes, Refusal> printerText(const ParaControls& controls, const TextField& field) {
  const auto bytes = TextCodec::toPrinterBytesExactly(controls.text(field.control));
  if (!bytes) {
    return Refusal{Refusal::Kind::Warning, fieldName(field) + " 含有打印机字符集 (GBK) 中没有的字符，未发送"};
  }
  if (bytes->size() > field.maxBytes) {
    return Refusal{Refusal::Kind::Warning,
                   fieldName(field) + " 超过 " + std::to_string(field.maxBytes) + " 字节 (GBK)，未发送"};
  }
  return *bytes;
}

}  // namespace ombrel
