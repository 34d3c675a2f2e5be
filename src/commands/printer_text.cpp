#include "commands/printer_text.h"

#include <stdexcept>
#include <string>

#include "settings/para_layout.h"
#include "texts/text_codec.h"

namespace ombrel {

std::variant<Bytes, Refusal> printerText(const ParaControls& controls, const TextField& field) {
  const ControlSpec& row = controlSpec(field.control);
  if (row.maxLength == 0 || row.maxLength > field.fieldBytes) {
    throw std::logic_error(row.name + " takes more than its printer field holds");
  }
  const std::string name = std::string(row.caption) + " (" + row.name + ")";
  const auto bytes = TextCodec::toPrinterBytesExactly(controls.text(field.control));
  if (!bytes) return Refusal{Refusal::Kind::Warning, name + " 含有打印机字符集 (GBK) 中没有的字符，未发送"};
  if (bytes->size() > row.maxLength) {
    return Refusal{Refusal::Kind::Warning, name + " 超过 " + std::to_string(row.maxLength) + " 字节 (GBK)，未发送"};
  }
  return *bytes;
}

}  // namespace ombrel
