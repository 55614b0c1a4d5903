// Code page 932 in the browser, for base/code_page_web.cpp: the double-byte codes come from
// the page's own Shift_JIS TextDecoder, which reads the Windows table; browsers have no
// encoder, so encoding reads that table backwards.
mergeInto(LibraryManager.library, {
  // Both directions of the Windows table, made once: pairs[lead << 8 | trail] is the code
  // point of a double-byte code (0 for none), forms maps a code point to its code. Single
  // bytes are not asked of the decoder, which may not keep even ASCII as it stands. Of the
  // codes that decode alike the encoder takes the lowest, never one of the NEC-selected rows
  // ED and EE, as Windows does; seven characters that JIS tables map elsewhere take the code
  // of their Windows look-alike.
  $cp932: null,
  $cp932Table__deps: ["$cp932"],
  $cp932Table: function () {
    if (cp932) return cp932;
    const isLead = (b) => (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
    // ASCII, a C1 control, half-width katakana and four private-use characters.
    const single = (b) => b < 0x80 ? b : b >= 0xA1 && b <= 0xDF ? 0xFF61 + b - 0xA1 :
        {0x80: 0x80, 0xA0: 0xF8F0, 0xFD: 0xF8F1, 0xFE: 0xF8F2, 0xFF: 0xF8F3}[b];
    const decoder = new TextDecoder("shift_jis");
    const pairs = new Uint32Array(0x10000);
    const forms = new Map();
    const add = (codePoint, code) => {
      if (!forms.has(codePoint)) forms.set(codePoint, code);
    };
    for (let byte = 0; byte < 0x100; ++byte) {
      if (single(byte) !== undefined) add(single(byte), byte);
    }
    for (let lead = 0x81; lead <= 0xFC; ++lead) {
      if (!isLead(lead)) continue;
      for (let trail = 0x40; trail <= 0xFC; ++trail) {
        const text = trail === 0x7F ? "" : decoder.decode(new Uint8Array([lead, trail]));
        if (text.length !== 1 || text === "\uFFFD") continue;
        const code = lead << 8 | trail;
        pairs[code] = text.codePointAt(0);
        if (lead !== 0xED && lead !== 0xEE) add(pairs[code], code);
      }
    }
    for (const [other, windows] of [[0x301C, 0xFF5E], [0x2016, 0x2225], [0x2014, 0x2015],
                                    [0x2212, 0xFF0D], [0xA2, 0xFFE0], [0xA3, 0xFFE1],
                                    [0xAC, 0xFFE2]]) {
      add(other, forms.get(windows));
    }
    // Bytes as text; what reads as nothing is U+FFFD, and a trail byte that is ASCII is read
    // again on its own, as the decoder does.
    const decode = (bytes) => {
      let text = "";
      for (let i = 0; i < bytes.length; ++i) {
        const byte = bytes[i];
        let codePoint = 0xFFFD;
        if (!isLead(byte)) {
          codePoint = single(byte) === undefined ? 0xFFFD : single(byte);
        } else if (i + 1 < bytes.length && pairs[byte << 8 | bytes[i + 1]]) {
          codePoint = pairs[byte << 8 | bytes[++i]];
        } else if (i + 1 < bytes.length && bytes[i + 1] >= 0x80) {
          ++i;
        }
        text += String.fromCodePoint(codePoint);
      }
      return text;
    };
    cp932 = {decode, forms};
    return cp932;
  },

  // Bytes into a buffer of the module's, which the caller frees; their number at size.
  $copyOut__deps: ["malloc"],
  $copyOut: function (bytes, size) {
    const out = _malloc(bytes.length + 1);
    HEAPU8.set(bytes, out);
    HEAP32[size >> 2] = bytes.length;
    return out;
  },

  tolvi_encode_cp932__deps: ["$cp932Table", "$copyOut"],
  tolvi_encode_cp932: function (utf8, length, size) {
    const forms = cp932Table().forms;
    const bytes = [];
    for (const character of new TextDecoder().decode(HEAPU8.subarray(utf8, utf8 + length))) {
      const code = forms.get(character.codePointAt(0));
      if (code === undefined) {
        bytes.push(0x3F);
      } else if (code > 0xFF) {
        bytes.push(code >> 8, code & 0xFF);
      } else {
        bytes.push(code);
      }
    }
    return copyOut(bytes, size);
  },

  tolvi_decode_cp932__deps: ["$cp932Table", "$copyOut"],
  tolvi_decode_cp932: function (cp932, length, size) {
    const text = cp932Table().decode(HEAPU8.subarray(cp932, cp932 + length));
    return copyOut(new TextEncoder().encode(text), size);
  },
});
