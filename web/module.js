// Part of the game's WebAssembly module (emcc --pre-js). The game's texts are
// code page 932 bytes, as on the desktop; the page works with strings.

const cp932Decoder = new TextDecoder("shift_jis");

// Browsers can decode code page 932 but not encode it: the table is the
// decoder's, run backwards, made the first time it is needed. Where several
// byte pairs stand for one character, the first wins, as with Windows; the
// rows that NEC chose from IBM's extension (leads 0xED and 0xEE) are skipped
// for IBM's own (0xFA to 0xFC), which Windows writes.
let cp932Encoding = null;

function makeCp932Encoding() {
  const encoding = new Map();
  for (let byte = 0; byte < 0x100; ++byte) {
    if (byte < 0x80 || (byte >= 0xa1 && byte <= 0xdf))
      encoding.set(cp932Decoder.decode(Uint8Array.of(byte)), [byte]);
  }
  for (let lead = 0x81; lead <= 0xfc; ++lead) {
    if ((lead > 0x9f && lead < 0xe0) || lead === 0xed || lead === 0xee)
      continue;
    for (let trail = 0x40; trail <= 0xfc; ++trail) {
      const character = cp932Decoder.decode(Uint8Array.of(lead, trail));
      if (trail !== 0x7f && character.length === 1 && character !== "\ufffd" && !encoding.has(character))
        encoding.set(character, [lead, trail]);
    }
  }
  return encoding;
}

Module.cp932Text = (pointer, length) => cp932Decoder.decode(HEAPU8.subarray(pointer, pointer + length));

// A character that code page 932 does not have becomes "?", as Windows writes it.
Module.cp932Bytes = (text) => {
  if (!cp932Encoding)
    cp932Encoding = makeCp932Encoding();
  const bytes = [];
  for (const character of text)
    bytes.push(...(cp932Encoding.get(character) || [0x3f]));
  return Uint8Array.from(bytes);
};
