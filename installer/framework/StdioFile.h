// A file read as UTF-16 text lines, as the framework's text files do in a
// Unicode program: no conversion, a line ends at U+000A.
#pragma once

#include <windows.h>

#include <string>

class CStdioFile {
public:
  enum OpenFlags : UINT {
    modeRead = 0x0000,
    shareDenyNone = 0x0040,
    typeBinary = 0x8000,
  };
  enum SeekPosition : UINT { begin = 0, current = 1, end = 2 };

  CStdioFile() = default;
  CStdioFile(const CStdioFile&) = delete;
  CStdioFile& operator=(const CStdioFile&) = delete;
  ~CStdioFile() { Close(); }

  // Opens for reading; shareDenyNone lets other programs hold the file
  // open for writing or deleting meanwhile. Only reading is supported.
  BOOL Open(const wchar_t* pszFileName, UINT nOpenFlags);
  // Bytes actually read, 0 at the end or on error.
  UINT Read(void* pBuffer, UINT nCount);
  void Seek(LONG lOffset, UINT nFrom);
  // Reads UTF-16 units up to and including the next line feed; the line
  // feed is dropped, everything before it (a carriage return too) is kept.
  // FALSE only when nothing at all was read. A trailing odd byte is not a
  // unit and is ignored.
  BOOL ReadString(std::wstring& rString);
  void Close();

private:
  bool FillBuffer();

  HANDLE m_hFile = INVALID_HANDLE_VALUE;
  unsigned char m_buffer[4096] = {};
  UINT m_nBuffered = 0;
  UINT m_nNext = 0;
};
