#pragma once

// Result codes of the drawing-surface layer, with the numeric values of the published
// DirectDraw header (ddraw.h): MAKE_DDHRESULT(n) is 0x88760000 | n, and five names share
// the general system codes.

#include "platform/rm/Types.h"

namespace render {

// General system codes.
inline constexpr rm::HRESULT E_NOTIMPL = static_cast<rm::HRESULT>(0x80004001u);
inline constexpr rm::HRESULT E_FAIL = static_cast<rm::HRESULT>(0x80004005u);
inline constexpr rm::HRESULT CO_E_NOTINITIALIZED = static_cast<rm::HRESULT>(0x800401F0u);
inline constexpr rm::HRESULT E_OUTOFMEMORY = static_cast<rm::HRESULT>(0x8007000Eu);
inline constexpr rm::HRESULT E_INVALIDARG = static_cast<rm::HRESULT>(0x80070057u);

inline constexpr rm::HRESULT DD_OK = 0;
inline constexpr rm::HRESULT DDERR_NOTINITIALIZED = CO_E_NOTINITIALIZED;
inline constexpr rm::HRESULT DDERR_GENERIC = E_FAIL;
inline constexpr rm::HRESULT DDERR_UNSUPPORTED = E_NOTIMPL;
inline constexpr rm::HRESULT DDERR_OUTOFMEMORY = E_OUTOFMEMORY;
inline constexpr rm::HRESULT DDERR_INVALIDPARAMS = E_INVALIDARG;

// The numbers below are the published ddraw.h values.
inline constexpr rm::HRESULT DDERR_ALREADYINITIALIZED = rm::MakeDDHResult(5);
inline constexpr rm::HRESULT DDERR_CANNOTATTACHSURFACE = rm::MakeDDHResult(10);
inline constexpr rm::HRESULT DDERR_CANNOTDETACHSURFACE = rm::MakeDDHResult(20);
inline constexpr rm::HRESULT DDERR_CURRENTLYNOTAVAIL = rm::MakeDDHResult(40);
inline constexpr rm::HRESULT DDERR_EXCEPTION = rm::MakeDDHResult(55);
inline constexpr rm::HRESULT DDERR_HEIGHTALIGN = rm::MakeDDHResult(90);
inline constexpr rm::HRESULT DDERR_INCOMPATIBLEPRIMARY = rm::MakeDDHResult(95);
inline constexpr rm::HRESULT DDERR_INVALIDCAPS = rm::MakeDDHResult(100);
inline constexpr rm::HRESULT DDERR_INVALIDCLIPLIST = rm::MakeDDHResult(110);
inline constexpr rm::HRESULT DDERR_INVALIDMODE = rm::MakeDDHResult(120);
inline constexpr rm::HRESULT DDERR_INVALIDOBJECT = rm::MakeDDHResult(130);
inline constexpr rm::HRESULT DDERR_INVALIDPIXELFORMAT = rm::MakeDDHResult(145);
inline constexpr rm::HRESULT DDERR_INVALIDRECT = rm::MakeDDHResult(150);
inline constexpr rm::HRESULT DDERR_LOCKEDSURFACES = rm::MakeDDHResult(160);
inline constexpr rm::HRESULT DDERR_NO3D = rm::MakeDDHResult(170);
inline constexpr rm::HRESULT DDERR_NOALPHAHW = rm::MakeDDHResult(180);
inline constexpr rm::HRESULT DDERR_NOCLIPLIST = rm::MakeDDHResult(205);
inline constexpr rm::HRESULT DDERR_NOCOLORCONVHW = rm::MakeDDHResult(210);
inline constexpr rm::HRESULT DDERR_NOCOOPERATIVELEVELSET = rm::MakeDDHResult(212);
inline constexpr rm::HRESULT DDERR_NOCOLORKEY = rm::MakeDDHResult(215);
inline constexpr rm::HRESULT DDERR_NOCOLORKEYHW = rm::MakeDDHResult(220);
inline constexpr rm::HRESULT DDERR_NODIRECTDRAWSUPPORT = rm::MakeDDHResult(222);
inline constexpr rm::HRESULT DDERR_NOEXCLUSIVEMODE = rm::MakeDDHResult(225);
inline constexpr rm::HRESULT DDERR_NOFLIPHW = rm::MakeDDHResult(230);
inline constexpr rm::HRESULT DDERR_NOGDI = rm::MakeDDHResult(240);
inline constexpr rm::HRESULT DDERR_NOMIRRORHW = rm::MakeDDHResult(250);
inline constexpr rm::HRESULT DDERR_NOTFOUND = rm::MakeDDHResult(255);
inline constexpr rm::HRESULT DDERR_NOOVERLAYHW = rm::MakeDDHResult(260);
inline constexpr rm::HRESULT DDERR_NORASTEROPHW = rm::MakeDDHResult(280);
inline constexpr rm::HRESULT DDERR_NOROTATIONHW = rm::MakeDDHResult(290);
inline constexpr rm::HRESULT DDERR_NOSTRETCHHW = rm::MakeDDHResult(310);
inline constexpr rm::HRESULT DDERR_NOT4BITCOLOR = rm::MakeDDHResult(316);
inline constexpr rm::HRESULT DDERR_NOT4BITCOLORINDEX = rm::MakeDDHResult(317);
inline constexpr rm::HRESULT DDERR_NOT8BITCOLOR = rm::MakeDDHResult(320);
inline constexpr rm::HRESULT DDERR_NOTEXTUREHW = rm::MakeDDHResult(330);
inline constexpr rm::HRESULT DDERR_NOVSYNCHW = rm::MakeDDHResult(335);
inline constexpr rm::HRESULT DDERR_NOZBUFFERHW = rm::MakeDDHResult(340);
inline constexpr rm::HRESULT DDERR_NOZOVERLAYHW = rm::MakeDDHResult(350);
inline constexpr rm::HRESULT DDERR_OUTOFCAPS = rm::MakeDDHResult(360);
inline constexpr rm::HRESULT DDERR_OUTOFVIDEOMEMORY = rm::MakeDDHResult(380);
inline constexpr rm::HRESULT DDERR_OVERLAYCANTCLIP = rm::MakeDDHResult(382);
inline constexpr rm::HRESULT DDERR_OVERLAYCOLORKEYONLYONEACTIVE = rm::MakeDDHResult(384);
inline constexpr rm::HRESULT DDERR_PALETTEBUSY = rm::MakeDDHResult(387);
inline constexpr rm::HRESULT DDERR_COLORKEYNOTSET = rm::MakeDDHResult(400);
inline constexpr rm::HRESULT DDERR_SURFACEALREADYATTACHED = rm::MakeDDHResult(410);
inline constexpr rm::HRESULT DDERR_SURFACEALREADYDEPENDENT = rm::MakeDDHResult(420);
inline constexpr rm::HRESULT DDERR_SURFACEBUSY = rm::MakeDDHResult(430);
inline constexpr rm::HRESULT DDERR_CANTLOCKSURFACE = rm::MakeDDHResult(435);
inline constexpr rm::HRESULT DDERR_SURFACEISOBSCURED = rm::MakeDDHResult(440);
inline constexpr rm::HRESULT DDERR_SURFACELOST = rm::MakeDDHResult(450);
inline constexpr rm::HRESULT DDERR_SURFACENOTATTACHED = rm::MakeDDHResult(460);
inline constexpr rm::HRESULT DDERR_TOOBIGHEIGHT = rm::MakeDDHResult(470);
inline constexpr rm::HRESULT DDERR_TOOBIGSIZE = rm::MakeDDHResult(480);
inline constexpr rm::HRESULT DDERR_TOOBIGWIDTH = rm::MakeDDHResult(490);
inline constexpr rm::HRESULT DDERR_UNSUPPORTEDFORMAT = rm::MakeDDHResult(510);
inline constexpr rm::HRESULT DDERR_UNSUPPORTEDMASK = rm::MakeDDHResult(520);
inline constexpr rm::HRESULT DDERR_VERTICALBLANKINPROGRESS = rm::MakeDDHResult(537);
inline constexpr rm::HRESULT DDERR_WASSTILLDRAWING = rm::MakeDDHResult(540);
inline constexpr rm::HRESULT DDERR_XALIGN = rm::MakeDDHResult(560);
inline constexpr rm::HRESULT DDERR_INVALIDDIRECTDRAWGUID = rm::MakeDDHResult(561);
inline constexpr rm::HRESULT DDERR_DIRECTDRAWALREADYCREATED = rm::MakeDDHResult(562);
inline constexpr rm::HRESULT DDERR_NODIRECTDRAWHW = rm::MakeDDHResult(563);
inline constexpr rm::HRESULT DDERR_PRIMARYSURFACEALREADYEXISTS = rm::MakeDDHResult(564);
inline constexpr rm::HRESULT DDERR_NOEMULATION = rm::MakeDDHResult(565);
inline constexpr rm::HRESULT DDERR_REGIONTOOSMALL = rm::MakeDDHResult(566);
inline constexpr rm::HRESULT DDERR_CLIPPERISUSINGHWND = rm::MakeDDHResult(567);
inline constexpr rm::HRESULT DDERR_NOCLIPPERATTACHED = rm::MakeDDHResult(568);
inline constexpr rm::HRESULT DDERR_NOHWND = rm::MakeDDHResult(569);
inline constexpr rm::HRESULT DDERR_HWNDSUBCLASSED = rm::MakeDDHResult(570);
inline constexpr rm::HRESULT DDERR_HWNDALREADYSET = rm::MakeDDHResult(571);
inline constexpr rm::HRESULT DDERR_NOPALETTEATTACHED = rm::MakeDDHResult(572);
inline constexpr rm::HRESULT DDERR_NOPALETTEHW = rm::MakeDDHResult(573);
inline constexpr rm::HRESULT DDERR_BLTFASTCANTCLIP = rm::MakeDDHResult(574);
inline constexpr rm::HRESULT DDERR_NOBLTHW = rm::MakeDDHResult(575);
inline constexpr rm::HRESULT DDERR_NODDROPSHW = rm::MakeDDHResult(576);
inline constexpr rm::HRESULT DDERR_OVERLAYNOTVISIBLE = rm::MakeDDHResult(577);
inline constexpr rm::HRESULT DDERR_NOOVERLAYDEST = rm::MakeDDHResult(578);
inline constexpr rm::HRESULT DDERR_INVALIDPOSITION = rm::MakeDDHResult(579);
inline constexpr rm::HRESULT DDERR_NOTAOVERLAYSURFACE = rm::MakeDDHResult(580);
inline constexpr rm::HRESULT DDERR_EXCLUSIVEMODEALREADYSET = rm::MakeDDHResult(581);
inline constexpr rm::HRESULT DDERR_NOTFLIPPABLE = rm::MakeDDHResult(582);
inline constexpr rm::HRESULT DDERR_CANTDUPLICATE = rm::MakeDDHResult(583);
inline constexpr rm::HRESULT DDERR_NOTLOCKED = rm::MakeDDHResult(584);
inline constexpr rm::HRESULT DDERR_CANTCREATEDC = rm::MakeDDHResult(585);
inline constexpr rm::HRESULT DDERR_NODC = rm::MakeDDHResult(586);
inline constexpr rm::HRESULT DDERR_WRONGMODE = rm::MakeDDHResult(587);
inline constexpr rm::HRESULT DDERR_IMPLICITLYCREATED = rm::MakeDDHResult(588);
inline constexpr rm::HRESULT DDERR_NOTPALETTIZED = rm::MakeDDHResult(589);
inline constexpr rm::HRESULT DDERR_UNSUPPORTEDMODE = rm::MakeDDHResult(590);
inline constexpr rm::HRESULT DDERR_NOMIPMAPHW = rm::MakeDDHResult(591);
inline constexpr rm::HRESULT DDERR_INVALIDSURFACETYPE = rm::MakeDDHResult(592);
inline constexpr rm::HRESULT DDERR_DCALREADYCREATED = rm::MakeDDHResult(620);
inline constexpr rm::HRESULT DDERR_CANTPAGELOCK = rm::MakeDDHResult(640);
inline constexpr rm::HRESULT DDERR_CANTPAGEUNLOCK = rm::MakeDDHResult(660);
inline constexpr rm::HRESULT DDERR_NOTPAGELOCKED = rm::MakeDDHResult(680);

} // namespace render
