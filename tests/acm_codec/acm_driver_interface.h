// What an ACM driver receives from the ACM that the MinGW headers leave out:
// the driver message numbers and the records they carry, laid out as the
// ACM lays them out (the stream header packed like ACMSTREAMHEADER, whose
// reserved words it overlays).
#ifndef ORVA_TESTS_ACM_CODEC_ACM_DRIVER_INTERFACE_H
#define ORVA_TESTS_ACM_CODEC_ACM_DRIVER_INTERFACE_H

#include <windows.h>
// mmreg.h and msacm.h need the types of mmsystem.h first.
#include <mmreg.h>
#include <mmsystem.h>
#include <msacm.h>

namespace orva::acmdriver {

constexpr UINT kDriverDetails = ACMDM_BASE + 10;
constexpr UINT kDriverAbout = ACMDM_BASE + 11;
constexpr UINT kFormatTagDetails = ACMDM_BASE + 25;
constexpr UINT kFormatDetails = ACMDM_BASE + 26;
constexpr UINT kStreamOpen = ACMDM_BASE + 76;
constexpr UINT kStreamClose = ACMDM_BASE + 77;
constexpr UINT kStreamSize = ACMDM_BASE + 78;
constexpr UINT kStreamConvert = ACMDM_BASE + 79;
constexpr UINT kStreamReset = ACMDM_BASE + 80;
constexpr UINT kStreamPrepare = ACMDM_BASE + 81;
constexpr UINT kStreamUnprepare = ACMDM_BASE + 82;

// DRV_OPEN's second parameter when the ACM opens the driver.
struct OpenDescription {
  DWORD cbStruct;
  FOURCC fccType;
  FOURCC fccComp;
  DWORD dwVersion;
  DWORD dwFlags;
  DWORD dwError;
  LPCWSTR pszSectionName;
  LPCWSTR pszAliasName;
  DWORD dnDevNode;
};

// One conversion stream; dwDriver is the driver's own per-stream value.
struct StreamInstance {
  DWORD cbStruct;
  WAVEFORMATEX* pwfxSrc;
  WAVEFORMATEX* pwfxDst;
  WAVEFILTER* pwfltr;
  DWORD_PTR dwCallback;
  DWORD_PTR dwInstance;
  DWORD fdwOpen;
  DWORD fdwDriver;
  DWORD_PTR dwDriver;
  HACMSTREAM has;
};

#pragma pack(push, 1)
struct StreamHeader {
  DWORD cbStruct;
  DWORD fdwStatus;
  DWORD_PTR dwUser;
  BYTE* pbSrc;
  DWORD cbSrcLength;
  DWORD cbSrcLengthUsed;
  DWORD_PTR dwSrcUser;
  BYTE* pbDst;
  DWORD cbDstLength;
  DWORD cbDstLengthUsed;
  DWORD_PTR dwDstUser;
  DWORD fdwConvert;
  StreamHeader** padshNext;
  DWORD fdwDriver;
  DWORD_PTR dwDriver;
  DWORD fdwPrepared;
  DWORD_PTR dwPrepared;
  BYTE* pbPreparedSrc;
  DWORD cbPreparedSrcLength;
  BYTE* pbPreparedDst;
  DWORD cbPreparedDstLength;
};
#pragma pack(pop)
static_assert(sizeof(StreamHeader) <= sizeof(ACMSTREAMHEADER), "the driver's view overlays the caller's header");

struct StreamSize {
  DWORD cbStruct;
  DWORD fdwSize;
  DWORD cbSrcLength;
  DWORD cbDstLength;
};

}  // namespace orva::acmdriver

#endif
