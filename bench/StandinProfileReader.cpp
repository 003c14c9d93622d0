// The native stand-in's profile reader compiled into the Windows benchmark program under
// another name, so that under Wine it reads the same files, in the same run, as the real
// GetPrivateProfileStringA.
#define GetPrivateProfileStringA StandinGetPrivateProfileStringA
#include "profile/ProfileReader.cpp"
