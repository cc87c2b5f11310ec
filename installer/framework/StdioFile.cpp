#include "StdioFile.h"

BOOL CStdioFile::Open(const wchar_t* pszFileName, UINT nOpenFlags) {
  Close();
  if ((nOpenFlags & 0x3) != modeRead) return FALSE;
  const DWORD share = (nOpenFlags & 0x70) == shareDenyNone
                          ? FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE
                          : FILE_SHARE_READ;
  m_hFile = CreateFileW(pszFileName, GENERIC_READ, share, nullptr, OPEN_EXISTING,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
  return m_hFile != INVALID_HANDLE_VALUE;
}

// Reads go through the line buffer so that Read and ReadString may be
// mixed, as the license reader does with the byte order mark.
bool CStdioFile::FillBuffer() {
  if (m_nNext < m_nBuffered) return true;
  m_nNext = 0;
  m_nBuffered = 0;
  if (m_hFile == INVALID_HANDLE_VALUE) return false;
  DWORD nRead = 0;
  if (!ReadFile(m_hFile, m_buffer, sizeof(m_buffer), &nRead, nullptr)) return false;
  m_nBuffered = nRead;
  return nRead > 0;
}

UINT CStdioFile::Read(void* pBuffer, UINT nCount) {
  auto* pOut = static_cast<unsigned char*>(pBuffer);
  UINT nDone = 0;
  while (nDone < nCount && FillBuffer()) pOut[nDone++] = m_buffer[m_nNext++];
  return nDone;
}

void CStdioFile::Seek(LONG lOffset, UINT nFrom) {
  if (m_hFile == INVALID_HANDLE_VALUE) return;
  LONG lDistance = lOffset;
  if (nFrom == current) lDistance -= static_cast<LONG>(m_nBuffered - m_nNext);
  m_nBuffered = 0;
  m_nNext = 0;
  SetFilePointer(m_hFile, lDistance, nullptr, nFrom);
}

BOOL CStdioFile::ReadString(std::wstring& rString) {
  rString.clear();
  bool bReadAny = false;
  unsigned char unit[2];
  while (Read(unit, 2) == 2) {
    bReadAny = true;
    const wchar_t ch = static_cast<wchar_t>(unit[0] | (unit[1] << 8));
    if (ch == L'\n') break;
    rString.push_back(ch);
  }
  return bReadAny;
}

void CStdioFile::Close() {
  if (m_hFile != INVALID_HANDLE_VALUE) CloseHandle(m_hFile);
  m_hFile = INVALID_HANDLE_VALUE;
  m_nBuffered = 0;
  m_nNext = 0;
}
