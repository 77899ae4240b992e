#pragma once
// The control words the reader understands, looked up once per token.

#include <string_view>

namespace richedit::rtf {

#define QX_RTF_KEYWORDS(X, XN)                                                                           \
    /* document and encoding */                                                                      \
    X(rtf) X(ansi) X(mac) X(pc) X(pca) X(ansicpg) X(deff) X(uc) X(u) X(upr) X(ud)                    \
    /* destinations: tables */                                                                       \
    X(fonttbl) X(colortbl) X(stylesheet) X(listtable) X(listoverridetable)                            \
    /* destinations never shown as text */                                                           \
    X(info) X(header) X(headerl) X(headerr) X(headerf) X(footer) X(footerl) X(footerr) X(footerf)     \
    X(footnote) X(annotation) X(xe) X(tc) X(tcn) X(txe) X(rxe) X(comment) X(objdata) X(themedata)    \
    X(colorschememapping) X(datastore) X(latentstyles) X(generator) X(fldinst) X(objclass)           \
    X(objname) XN(privateData, private) X(bkmkstart) X(bkmkend) X(pgdsctbl) X(revtbl) X(rsidtbl) X(filetbl)        \
    X(docvar) XN(templateName, template) X(ftnsep) X(ftnsepc) X(ftncn) X(aftnsep) X(aftnsepc) X(aftncn)              \
    X(listpicture) X(pnseclvl) X(userprops) X(xmlnstbl) X(mmathPr) X(wgrffmtfilter) X(fchars)         \
    X(lchars) X(shpinst) X(nesttableprops) X(panose) X(falt) X(keycode) X(field)                     \
    /* font table */                                                                                 \
    X(f) X(fnil) X(froman) X(fswiss) X(fmodern) X(fscript) X(fdecor) X(ftech) X(fbidi) X(fcharset)   \
    X(fprq) X(cpg)                                                                                   \
    /* colour table */                                                                               \
    X(red) X(green) X(blue)                                                                          \
    /* style sheet */                                                                                \
    X(s) X(cs) X(ds) X(ts) X(sbasedon) X(snext) X(outlinelevel)                                     \
    /* character formatting */                                                                       \
    X(plain) X(b) X(i) X(ul) X(ulw) X(uldb) X(uld) X(uldash) X(uldashd) X(uldashdd) X(ulwave)        \
    X(ulth) X(ulnone) X(strike) X(striked) X(sub) X(super) X(nosupersub) X(cf) X(cb) X(highlight)    \
    X(chcbpat) X(fs) X(up) X(dn) X(protect) X(v)                                                     \
    /* character effects, underline kinds and colour, our own weight */                             \
    X(scaps) X(caps) X(outl) X(shad) X(embo) X(impr) X(ulc) X(ulhwave) X(ululdbwave) X(ulthd)        \
    X(ulthdash) X(ulthdashd) X(ulthdashdd) X(ulldash) X(ulthldash) X(qxweight)                       \
    /* paragraph formatting */                                                                       \
    X(pard) X(ql) X(qr) X(qc) X(qj) X(qd) X(fi) X(li) X(ri) X(sb) X(sa) X(sl) X(slmult) X(tx) X(tb)   \
    X(intbl) X(pagebb) X(ls) X(ilvl)                                                                 \
    /* old-style numbering */                                                                        \
    X(pn) X(pntext) X(listtext) X(pnlvlblt) X(pnlvlbody) X(pnlvlcont) X(pnlvl) X(pndec) X(pnlcltr)   \
    X(pnucltr) X(pnlcrm) X(pnucrm) X(pnstart) X(pnindent) X(pntxta) X(pntxtb) X(pnbidia) X(pnbidib)  \
    /* list table */                                                                                 \
    X(list) X(listlevel) X(listid) X(levelnfc) X(levelnfcn) X(levelstartat) X(leveltext)            \
    X(levelnumbers) X(listname) X(listoverride) X(levelnorestart) X(lfolevel) X(listoverridestartat) \
    /* fields */                                                                                     \
    X(fldrslt)                                                                                       \
    /* characters and breaks */                                                                      \
    X(par) X(line) X(page) X(sect) X(column) X(tab) X(cell) X(row) X(nestcell) X(nestrow) X(emdash)  \
    X(endash) X(emspace) X(enspace) X(qmspace) X(bullet) X(lquote) X(rquote) X(ldblquote)           \
    X(rdblquote) X(zwj) X(zwnj) X(ltrmark) X(rtlmark) X(zwbo) X(zwnbo)                               \
    /* pictures */                                                                                   \
    X(pict) X(shppict) X(nonshppict) X(pngblip) X(jpegblip) X(dibitmap) X(wbitmap) X(wmetafile)      \
    X(emfblip) X(macpict) X(pmmetafile) X(picw) X(pich) X(picwgoal) X(pichgoal) X(picscalex)        \
    X(picscaley) X(wbmbitspixel) X(wbmplanes) X(wbmwidthbytes) X(result)                            \
    /* table rows and their borders */                                                               \
    X(trowd) X(trgaph) X(trleft) X(trrh) X(cellx) X(itap) X(nonesttables) X(trbrdrl) X(trbrdrr)       \
    X(trpaddl) X(trpaddr) X(clpadl) X(clpadr) X(clmgf) X(clmrg)                                      \
    X(trbrdrt) X(trbrdrb) X(trbrdrh) X(trbrdrv) X(clbrdrl) X(clbrdrr) X(clbrdrt) X(clbrdrb)           \
    X(brdrnone) X(brdrtbl) X(brdrw) X(brdrs) X(brdrth) X(brdrsh) X(brdrdb) X(brdrdot) X(brdrdash)     \
    X(brdrhair) X(brdrdashsm) X(brdrdashd) X(brdrdashdd) X(brdrtriple) X(brdrwavy) X(brdrwavydb)      \
    X(brdrinset) X(brdroutset) X(brdremboss) X(brdrengrave) X(brdrframe) X(brdrdashdotstr)

enum class Kw {
    Unknown,
#define QX_RTF_ENUM(name) name,
#define QX_RTF_ENUM_NAMED(id, word) id,
    QX_RTF_KEYWORDS(QX_RTF_ENUM, QX_RTF_ENUM_NAMED)
#undef QX_RTF_ENUM
#undef QX_RTF_ENUM_NAMED
};

// The keyword of a control word name; Unknown for names the reader does not handle.
Kw keyword(std::string_view name);

}  // namespace richedit::rtf
