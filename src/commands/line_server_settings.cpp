#include "commands/line_server_settings.h"

#include <unistd.h>

#include <array>
#include <charconv>
#include <stdexcept>

#include "commands/recipe.h"
#include "commands/recipe_texts.h"
#include "linedb/line_db.h"
#include "linedb/line_numbers.h"
#include "linedb/line_schema.h"

namespace ombrel {

namespace {
constexpr int kEnglish = 1;
}

std::string hostStationName() {
  std::array<char, 256> name{};
  if (gethostname(name.data(), name.size() - 1) != 0 || name[0] == '\0') return "station";
  return name.data();
}

LineServerSettings loadLineServerSettings(const IniFile& file) {
  LineServerSettings settings;
  settings.database = file.readString(kRecipeSection, "Database", "");
  settings.station = file.readString(kRecipeSection, "Station", "");
  if (settings.station.empty()) settings.station = hostStationName();
  settings.line = file.readString(kRecipeSection, "Line", "");
  if (settings.line.empty()) settings.line = "default";
  return settings;
}

void saveLineServerSettings(IniFile& file, const LineServerSettings& settings, int language) {
  if (const auto refusal = lineDatabaseRefusal(settings.database, language)) throw std::invalid_argument(*refusal);
  file.writeString(kRecipeSection, "Database", settings.database);
  file.writeString(kRecipeSection, "Station", settings.station);
  file.writeString(kRecipeSection, "Line", settings.line);
}

std::optional<std::string> lineDatabaseRefusal(const std::string& conninfo, int language) {
  if (!conninfoHoldsPassword(conninfo)) return std::nullopt;
  if (language == kEnglish) {
    return "The line database's connection string holds a password, which would be stored or shown: "
           "remove it and put the password in libpq's password file (~/.pgpass) or name a service of "
           "the service file (~/.pg_service.conf)";
  }
  return "生产线数据库的连接字符串含有密码，会被保存或显示：请删除密码，把密码写入 libpq 的密码文件"
         "（~/.pgpass），或使用服务文件（~/.pg_service.conf）中的服务";
}

std::optional<std::string> lineDatabaseTestFailure(const std::string& conninfo) {
  try {
    LineDb db(conninfo);
    db.exec("SELECT 1");
    return std::nullopt;
  } catch (const std::exception& error) {
    return error.what();
  }
}

std::optional<std::string> reworkRefusal(const std::optional<LineServer>& server, std::uint32_t number, int language) {
  const std::string serial = std::to_string(number);
  if (!server) {
    return language == kEnglish ? "Rework needs the line database, which knows the numbers handed out"
                                : "返修需要生产线数据库：只有它知道已发放的序列号";
  }
  try {
    LineDb db(server->conninfo);
    ensureLineSchema(db, language);
    if (recordLineRework(db, server->line, server->station, "", number)) return std::nullopt;
  } catch (const LineDbUnreachable& lost) {
    return lineDatabaseUnreachableText(language) + ": " + lost.what();
  } catch (const std::runtime_error& error) {
    // A schema this station cannot use, or a role that may not record.
    return error.what();
  }
  return language == kEnglish ? "The line " + server->line + " never handed out the serial number " + serial
                              : "生产线 " + server->line + " 从未发放序列号 " + serial;
}

std::optional<std::string> reworkRefusal(const std::optional<LineServer>& server, const std::string& typed,
                                         int language) {
  std::uint32_t number = 0;
  const char* end = typed.data() + typed.size();
  const auto [stop, error] = std::from_chars(typed.data(), end, number);
  if (typed.empty() || error != std::errc{} || stop != end) {
    return language == kEnglish ? "Rework writes a serial number: " + typed + " is none"
                                : "返修需要写入序列号：" + typed + " 不是序列号";
  }
  return reworkRefusal(server, number, language);
}

std::optional<LineServer> lineServerOf(const LineServerSettings& settings) {
  if (settings.database.empty()) return std::nullopt;
  return LineServer{settings.database, settings.line, settings.station};
}

}  // namespace ombrel
