// The web page's canvas as 64 rows of "#" (the panel's dark colour) and "." (its light one),
// with the frame number it shows, how many pixels are neither colour and the width it is
// shown at: evaluated in the page by web_page_test.cpp.
(() => {
  const c = document.getElementById('panel');
  const d = c.getContext('2d').getImageData(0, 0, 128, 64).data;
  const rows = [];
  let other = 0;
  for (let y = 0; y < 64; y++) {
    let r = '';
    for (let x = 0; x < 128; x++) {
      const i = (y * 128 + x) * 4;
      const dark = d[i] === 28 && d[i + 1] === 40 && d[i + 2] === 24;
      if (!dark && !(d[i] === 176 && d[i + 1] === 200 && d[i + 2] === 96)) other++;
      r += dark ? '#' : '.';
    }
    rows.push(r);
  }
  return {seq: Number(c.dataset.seq || 0), rows, other, width: c.getBoundingClientRect().width};
})()
