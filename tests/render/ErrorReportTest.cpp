#include "render/ErrorReport.h"

#include <set>
#include <string>

#include <gtest/gtest.h>

#include "platform/surface/SurfaceResult.h"
#include "support/DebugCapture.h"

namespace {

using render::ReportDirectDrawError;
using render::ReportRetainedModeError;

constexpr rm::HRESULT DD(int n) {
    return static_cast<rm::HRESULT>(0x88760000u | static_cast<unsigned>(n));
}

TEST(ErrorReportTest, MessagesNameTheCodeTheSourceAndTheLine) {
    struct Case {
        bool retainedMode;
        rm::HRESULT code;
        const char* source;
        int line;
        const char* expected;
    };
    const Case cases[] = {
        {false, DD(5), "Direct3r", 646,
         "DirectDraw Error DDERR_ALREADYINITIALIZED\nin file Direct3r at line 646\n"},
        {false, static_cast<rm::HRESULT>(0x80004005u), "Direct3r", 674,
         "DirectDraw Error DDERR_GENERIC\nin file Direct3r at line 674\n"},
        {false, static_cast<rm::HRESULT>(0x80070057u), "Direct3r", 684,
         "DirectDraw Error DDERR_INVALIDPARAMS\nin file Direct3r at line 684\n"},
        {false, DD(450), "Direct3r", 1297,
         "DirectDraw Error DDERR_SURFACELOST\nin file Direct3r at line 1297\n"},
        {false, DD(794), "Direct3r", 1301,
         "DirectDraw Error Unknown Error\nin file Direct3r at line 1301\n"},
        {true, DD(781), "Direct3r", 1062,
         "Direct3D-RM Error : D3DRMERR_BADOBJECT\nin file Direct3r at line 1062\n"},
        {true, DD(793), "Direct3r", 1433,
         "Direct3D-RM Error : D3DRMERR_UNABLETOEXECUTE\nin file Direct3r at line 1433\n"},
        {true, DD(794), "Direct3r", 1435,
         "Direct3D-RM Error : Unknown Error\nin file Direct3r at line 1435\n"},
        {true, DD(5), "x.cpp", -1, "Direct3D-RM Error : Unknown Error\nin file x.cpp at line -1\n"},
        {false, 0, nullptr, 0, "DirectDraw Error Unknown Error\nin file (null) at line 0\n"},
    };
    for (const Case& c : cases) {
        DebugCapture capture;
        if (c.retainedMode) {
            ReportRetainedModeError(c.code, c.source, c.line);
        } else {
            ReportDirectDrawError(c.code, c.source, c.line);
        }
        EXPECT_EQ(capture.Text(), c.expected);
        EXPECT_EQ(capture.Writes(), 1) << "one write per report";
        EXPECT_STREQ(render::LastErrorReport(), c.expected) << "the program-wide buffer";
    }
}

TEST(ErrorReportTest, DirectDrawCodesMatchThePublishedHeader) {
    struct Case {
        rm::HRESULT code;
        std::uint32_t value;
        const char* name;
    };
    // Values as printed in the published ddraw.h and winerror.h.
    const Case cases[] = {
        {surface::DDERR_NOTINITIALIZED, 0x800401F0u, "DDERR_NOTINITIALIZED"},
        {surface::DDERR_GENERIC, 0x80004005u, "DDERR_GENERIC"},
        {surface::DDERR_UNSUPPORTED, 0x80004001u, "DDERR_UNSUPPORTED"},
        {surface::DDERR_OUTOFMEMORY, 0x8007000Eu, "DDERR_OUTOFMEMORY"},
        {surface::DDERR_INVALIDPARAMS, 0x80070057u, "DDERR_INVALIDPARAMS"},
        {surface::DDERR_ALREADYINITIALIZED, 0x88760005u, "DDERR_ALREADYINITIALIZED"},
        {surface::DDERR_NOCOOPERATIVELEVELSET, 0x887600D4u, "DDERR_NOCOOPERATIVELEVELSET"},
        {surface::DDERR_OVERLAYCOLORKEYONLYONEACTIVE, 0x88760180u,
         "DDERR_OVERLAYCOLORKEYONLYONEACTIVE"},
        {surface::DDERR_SURFACELOST, 0x887601C2u, "DDERR_SURFACELOST"},
        {surface::DDERR_WASSTILLDRAWING, 0x8876021Cu, "DDERR_WASSTILLDRAWING"},
        {surface::DDERR_NOTPAGELOCKED, 0x887602A8u, "DDERR_NOTPAGELOCKED"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(static_cast<std::uint32_t>(c.code), c.value) << c.name;
        EXPECT_STREQ(render::DirectDrawErrorName(c.code), c.name);
    }
}

// Every code that has a name, found by scanning all DirectDraw numbers and the general
// codes, must be exactly one of the 100 names and each name must appear once.
TEST(ErrorReportTest, ExactlyTheHundredDirectDrawNamesAreRecognised) {
    const std::set<std::string> expected = {
        "DDERR_NOTINITIALIZED",
        "DDERR_GENERIC",
        "DDERR_UNSUPPORTED",
        "DDERR_OUTOFMEMORY",
        "DDERR_ALREADYINITIALIZED",
        "DDERR_INVALIDPARAMS",
        "DDERR_CANNOTATTACHSURFACE",
        "DDERR_CANNOTDETACHSURFACE",
        "DDERR_CURRENTLYNOTAVAIL",
        "DDERR_EXCEPTION",
        "DDERR_HEIGHTALIGN",
        "DDERR_INCOMPATIBLEPRIMARY",
        "DDERR_INVALIDCAPS",
        "DDERR_INVALIDCLIPLIST",
        "DDERR_INVALIDMODE",
        "DDERR_INVALIDOBJECT",
        "DDERR_INVALIDPIXELFORMAT",
        "DDERR_INVALIDRECT",
        "DDERR_LOCKEDSURFACES",
        "DDERR_NO3D",
        "DDERR_NOALPHAHW",
        "DDERR_NOCLIPLIST",
        "DDERR_NOCOLORCONVHW",
        "DDERR_NOCOOPERATIVELEVELSET",
        "DDERR_NOCOLORKEY",
        "DDERR_NOCOLORKEYHW",
        "DDERR_NODIRECTDRAWSUPPORT",
        "DDERR_NOEXCLUSIVEMODE",
        "DDERR_NOFLIPHW",
        "DDERR_NOGDI",
        "DDERR_NOMIRRORHW",
        "DDERR_NOTFOUND",
        "DDERR_NOOVERLAYHW",
        "DDERR_NORASTEROPHW",
        "DDERR_NOROTATIONHW",
        "DDERR_NOSTRETCHHW",
        "DDERR_NOT4BITCOLOR",
        "DDERR_NOT4BITCOLORINDEX",
        "DDERR_NOT8BITCOLOR",
        "DDERR_NOTEXTUREHW",
        "DDERR_NOVSYNCHW",
        "DDERR_NOZBUFFERHW",
        "DDERR_NOZOVERLAYHW",
        "DDERR_OUTOFCAPS",
        "DDERR_OUTOFVIDEOMEMORY",
        "DDERR_OVERLAYCANTCLIP",
        "DDERR_OVERLAYCOLORKEYONLYONEACTIVE",
        "DDERR_PALETTEBUSY",
        "DDERR_COLORKEYNOTSET",
        "DDERR_SURFACEALREADYATTACHED",
        "DDERR_SURFACEALREADYDEPENDENT",
        "DDERR_SURFACEBUSY",
        "DDERR_CANTLOCKSURFACE",
        "DDERR_SURFACEISOBSCURED",
        "DDERR_SURFACELOST",
        "DDERR_SURFACENOTATTACHED",
        "DDERR_TOOBIGHEIGHT",
        "DDERR_TOOBIGSIZE",
        "DDERR_TOOBIGWIDTH",
        "DDERR_UNSUPPORTEDFORMAT",
        "DDERR_UNSUPPORTEDMASK",
        "DDERR_VERTICALBLANKINPROGRESS",
        "DDERR_WASSTILLDRAWING",
        "DDERR_XALIGN",
        "DDERR_INVALIDDIRECTDRAWGUID",
        "DDERR_DIRECTDRAWALREADYCREATED",
        "DDERR_NODIRECTDRAWHW",
        "DDERR_PRIMARYSURFACEALREADYEXISTS",
        "DDERR_NOEMULATION",
        "DDERR_REGIONTOOSMALL",
        "DDERR_CLIPPERISUSINGHWND",
        "DDERR_NOCLIPPERATTACHED",
        "DDERR_NOHWND",
        "DDERR_HWNDSUBCLASSED",
        "DDERR_HWNDALREADYSET",
        "DDERR_NOPALETTEATTACHED",
        "DDERR_NOPALETTEHW",
        "DDERR_BLTFASTCANTCLIP",
        "DDERR_NOBLTHW",
        "DDERR_NODDROPSHW",
        "DDERR_OVERLAYNOTVISIBLE",
        "DDERR_NOOVERLAYDEST",
        "DDERR_INVALIDPOSITION",
        "DDERR_NOTAOVERLAYSURFACE",
        "DDERR_EXCLUSIVEMODEALREADYSET",
        "DDERR_NOTFLIPPABLE",
        "DDERR_CANTDUPLICATE",
        "DDERR_NOTLOCKED",
        "DDERR_CANTCREATEDC",
        "DDERR_NODC",
        "DDERR_WRONGMODE",
        "DDERR_IMPLICITLYCREATED",
        "DDERR_NOTPALETTIZED",
        "DDERR_UNSUPPORTEDMODE",
        "DDERR_NOMIPMAPHW",
        "DDERR_INVALIDSURFACETYPE",
        "DDERR_DCALREADYCREATED",
        "DDERR_CANTPAGELOCK",
        "DDERR_CANTPAGEUNLOCK",
        "DDERR_NOTPAGELOCKED",
    };
    ASSERT_EQ(expected.size(), 100u);

    std::multiset<std::string> found;
    auto collect = [&](rm::HRESULT code) {
        const std::string name = render::DirectDrawErrorName(code);
        if (name != "Unknown Error") {
            found.insert(name);
        }
    };
    for (int n = 0; n < 0x10000; ++n) {
        collect(DD(n));
    }
    for (std::uint32_t general : {0x80004001u, 0x80004005u, 0x800401F0u, 0x8007000Eu, 0x80070057u,
                                  0x80004002u, 0x8000FFFFu, 0u}) {
        collect(static_cast<rm::HRESULT>(general));
    }
    EXPECT_EQ(std::set<std::string>(found.begin(), found.end()), expected);
    EXPECT_EQ(found.size(), 100u) << "no name is reachable from two codes";
}

TEST(ErrorReportTest, RetainedModeNamesFollowThePublishedOrder) {
    const char* names[] = {
        "D3DRMERR_BADOBJECT",       "D3DRMERR_BADTYPE",         "D3DRMERR_BADALLOC",
        "D3DRMERR_FACEUSED",        "D3DRMERR_NOTFOUND",        "D3DRMERR_NOTDONEYET",
        "D3DRMERR_FILENOTFOUND",    "D3DRMERR_BADFILE",         "D3DRMERR_BADDEVICE",
        "D3DRMERR_BADVALUE",        "D3DRMERR_BADMAJORVERSION", "D3DRMERR_BADMINORVERSION",
        "D3DRMERR_UNABLETOEXECUTE",
    };
    for (int i = 0; i < 13; ++i) {
        EXPECT_STREQ(render::RetainedModeErrorName(DD(781 + i)), names[i]);
    }
    for (rm::HRESULT other : {DD(780), DD(794), DD(5), static_cast<rm::HRESULT>(0x80004005u), 0}) {
        EXPECT_STREQ(render::RetainedModeErrorName(other), "Unknown Error");
    }
    EXPECT_STREQ(render::DirectDrawErrorName(rm::D3DRMERR_BADOBJECT), "Unknown Error")
        << "the two reports do not share names";
}

TEST(ErrorReportTest, OverlongSourceIsCutWithoutOverrun) {
    DebugCapture capture;
    const std::string source(3000, 's');
    ReportDirectDrawError(DD(5), source.c_str(), 646);
    const std::string& text = capture.Text();
    ASSERT_EQ(text.size(), 1024u) << "1023 bytes of message and the final newline";
    EXPECT_EQ(text.rfind("DirectDraw Error DDERR_ALREADYINITIALIZED\nin file sss", 0), 0u);
    EXPECT_EQ(text.back(), '\n');
}

} // namespace
