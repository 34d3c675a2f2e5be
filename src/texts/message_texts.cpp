#include "texts/message_texts.h"

#include <strings.h>

namespace ombrel {

namespace {
const std::vector<std::pair<std::string, std::string>>& builtInTexts() {
  static const std::vector<std::pair<std::string, std::string>> texts = {
      {"sConnectErrorstr", "通讯失败，请选择正确的端口和波特率"},
      {"sConnectOKstr", "连接成功"},
      {"SIPError", "IP 地址不正确"},
      {"SMaskError", "子网掩码不正确"},
      {"sGatewayError", "网关不正确"},
      {"sOpenPrgFile", "选择程序文件"},
      {"sUpdatePrgFile", "更新程序"},
      {"sUpdateFontFile", "更新字库"},
      {"sOpenFontFile", "选择字库文件"},
      {"sDnLogFileMsg", "BMP 文件不能超过%d"},
      {"sBaudrateMsg", "波特率设置为"},
      {"sUploadMsg", "上传完成"},
      // A download read back differently; the address follows.
      {"sVerifyFailedMsg", "校验失败：地址"},
      {"sWaitMsg", "等待5秒..."},
      {"sFinishPrg", "更新程序完成"},
      {"sMsg1", "设备名称不能为空"},
      {"sMsg2", "设备序列号不能为空"},
      {"sMsg3", "连接..."},
      {"sMsg4", "连接完成"},
      {"sMsg5", "设置 WIFI IP AP 成功"},
      {"sMsg6", "设置WIFI 参数成功"},
      {"sMsg7", "设置WIFI IP成功"},
      {"sMsg8", "设置红外参数成功"},
      {"sMsg9", "设置设备参数成功"},
      {"sMsg10", "设置休眠时间，关机时间成功"},
      {"sMsg11", "设置所有参数成功"},
      {"sMsg12", "设置设备开关选项成功"},
      {"sMsg13", "设置蓝牙参数成功"},
      {"sMsg14", "蓝牙控制指令发送成功"},
      {"sMsg15", "设置IP 成功"},
      {"sMsg16", "设置默认参数成功"},
      {"sMsg17", "设置代码页成功"},
      {"sMsg18", "设置波特率成功"},
      {"sMsg19", "WEP-H的密码固定是10位"},
      {"sMsg20", "WEP-A的密码固定是5位或13位"},
      {"sMsg21", "AES和TPIK的密码要≥8位"},
      {"sMsg22", "设置票据回收时间成功"},
      {"sMsg23", "程序文件错误"},
      {"sMsg24", "文件不存在"},
      {"sMsg25", "设置流控成功"},
      // The windows' own: a raw setting whose bytes have left, a download done.
      {"sSentMsg", "已发送"},
      {"sDownloadDoneMsg", "下载完成"},
  };
  return texts;
}

bool sameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}
}  // namespace

MessageTexts::MessageTexts() : texts_(builtInTexts()) {}

std::string MessageTexts::text(std::string_view key) const {
  std::lock_guard lock(mutex_);
  for (const auto& [name, value] : texts_) {
    if (sameName(name, key)) return value;
  }
  return std::string(key);
}

bool MessageTexts::setText(std::string_view key, std::string value) {
  std::lock_guard lock(mutex_);
  for (auto& [name, current] : texts_) {
    if (sameName(name, key)) {
      current = std::move(value);
      return true;
    }
  }
  return false;
}

std::vector<std::pair<std::string, std::string>> MessageTexts::all() const {
  std::lock_guard lock(mutex_);
  return texts_;
}

MessageTexts& messageTexts() {
  static MessageTexts table;
  return table;
}

}  // namespace ombrel
