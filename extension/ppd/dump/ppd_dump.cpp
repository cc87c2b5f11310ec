#include "ppd_dump.h"

#include <cstdio>
#include <cstring>

namespace {

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

void AppendEscaped(std::string& out, char32_t c) {
  switch (c) {
    case '\\': out += "\\\\"; return;
    case '\t': out += "\\t"; return;
    case '\n': out += "\\n"; return;
    case '\r': out += "\\r"; return;
  }
  if (c < 0x20 || c == 0x7F) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "\\x%02X", static_cast<unsigned>(c));
    out += hex;
    return;
  }
  AppendUtf8(out, c);
}

void AppendText(std::string& out, const PpdText& text) {
  out += '\t';
  const char16_t* p = text.characters;
  for (int i = 0; i < text.length; ++i) {
    char32_t c = p[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.length && p[i + 1] >= 0xDC00 &&
        p[i + 1] < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10) + (p[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c < 0xE000) {
      c = 0xFFFD;
    }
    AppendEscaped(out, c);
  }
}

void AppendNumber(std::string& out, long value) {
  out += '\t';
  out += std::to_string(value);
}

const char* UiTypeName(int32_t uiType) {
  if (uiType == PPDUI_PICKMANY) return "PickMany";
  if (uiType == PPDUI_BOOLEAN) return "Boolean";
  return "PickOne";
}

void AppendHeader(std::string& out, const char* name, const PpdText& text) {
  out += "header\t";
  out += name;
  AppendText(out, text);
  out += '\n';
}

void AppendFeature(std::string& out, int index, const PpdFeature& f) {
  out += "feature";
  AppendNumber(out, index + 1);
  AppendText(out, f.keyword);
  AppendText(out, f.translation);
  AppendText(out, f.defaultOption);
  AppendText(out, f.group);
  AppendText(out, f.groupTranslation);
  out += '\t';
  out += UiTypeName(f.uiType);
  AppendNumber(out, f.orderValue);
  AppendNumber(out, f.optionCount);
  out += '\n';
  for (int32_t o = 0; o < f.optionCount; ++o) {
    const PpdOption& option = *f.options[o];
    out += "option\t" + std::to_string(index + 1) + "." + std::to_string(o + 1);
    AppendText(out, option.keyword);
    AppendText(out, option.translation);
    AppendNumber(out, option.constrained ? 1 : 0);
    out += '\n';
  }
}

}  // namespace

std::string DumpPpdModel(const PpdModel& model) {
  std::string out;
  AppendHeader(out, "ModelName", model.modelName);
  AppendHeader(out, "Product", model.product);
  AppendHeader(out, "Manufacturer", model.manufacturer);
  AppendHeader(out, "LanguageEncoding", model.languageEncoding);
  AppendHeader(out, "LanguageVersion", model.languageVersion);
  long options = 0;
  for (int32_t f = 0; f < model.featureCount; ++f) {
    AppendFeature(out, f, *model.features[f]);
    options += model.features[f]->optionCount;
  }
  for (int32_t c = 0; c < model.constraintCount; ++c) {
    const PpdConstraint& constraint = *model.constraints[c];
    out += "constraint";
    AppendNumber(out, c + 1);
    AppendText(out, *constraint.featureKeyword1);
    AppendText(out, *constraint.option1);
    AppendText(out, *constraint.featureKeyword2);
    AppendText(out, *constraint.option2);
    out += '\n';
  }
  for (int32_t i = 0; i < model.installableCount; ++i) {
    out += "installable";
    AppendNumber(out, i + 1);
    AppendText(out, model.installables[i]->keyword);
    AppendText(out, model.installables[i]->currentValue);
    out += '\n';
  }
  out += "end\tfeatures=" + std::to_string(model.featureCount) +
         "\toptions=" + std::to_string(options) +
         "\tconstraints=" + std::to_string(model.constraintCount) +
         "\tinstallables=" + std::to_string(model.installableCount) + "\n";
  return out;
}

bool ApplyInstalledArgument(PpdModel* model, const char* argument) {
  const char* equals = std::strchr(argument, '=');
  if (equals == nullptr) return false;
  std::u16string keyword(argument, equals);
  std::u16string value(equals + 1, argument + std::strlen(argument));
  for (char16_t& c : keyword) c &= 0xFF;
  for (char16_t& c : value) c &= 0xFF;
  PpdText decodedKeyword;
  PpdText decodedValue;
  AssignPpdText(&decodedKeyword, keyword.c_str(), keyword.size());
  AssignPpdText(&decodedValue, value.c_str(), value.size());
  SetInstallableValue(model, decodedKeyword.characters, decodedValue.characters, false);
  return true;
}
