// A folder of its own under the temporary folder, removed with everything
// in it at the end of the test.
#pragma once

#include <string>

class TempFolder {
public:
  TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  ~TempFolder();

  const std::wstring& path() const { return m_path; }
  std::wstring Join(const std::wstring& relative) const { return m_path + L"\\" + relative; }
  void MakeFolder(const std::wstring& relative) const;
  void WriteBytes(const std::wstring& relative, const std::string& bytes) const;

private:
  std::wstring m_path;
};
