// Room pictures. The kiosk names them by their Windows path in its picture
// folder, which the movie host serves under /skin/RoomImage/. Many of the
// paths name pictures that do not exist; those rooms show a drawn
// placeholder instead of a broken image.

const PICTURE_ROOT = '/skin/RoomImage/';

// Bumped after the kiosk downloaded new pictures, so that pictures which
// were missing before are asked for again rather than taken from the cache.
let version = 0;

export function refreshPictures() {
  version += 1;
}

export function pictureVersion() {
  return version;
}

// c:\Harlix\Skin\RoomImage\201_0.png -> /skin/RoomImage/201_0.png; "" for no path.
export function pictureUrl(windowsPath) {
  const name = windowsPath.slice(windowsPath.lastIndexOf('\\') + 1);
  if (name === '') {
    return '';
  }
  const query = version > 0 ? `?v=${version}` : '';
  return PICTURE_ROOT + encodeURIComponent(name) + query;
}

const PLACEHOLDER_ICON = `
  <svg class="picture__icon" viewBox="0 0 64 48" aria-hidden="true">
    <path d="M6 40V10M6 30h52v10M58 30v-6a8 8 0 0 0-8-8H28v14M10 24a6 6 0 1 0 12 0a6 6 0 1 0-12 0"
          fill="none" stroke="currentColor" stroke-width="3" stroke-linecap="round" stroke-linejoin="round"/>
  </svg>`;

// A picture frame that shows the placeholder until the picture has loaded;
// onLoad(img) is told when it did.
export function createPicture(windowsPath, alt, onLoad = () => {}) {
  const frame = document.createElement('div');
  frame.className = 'picture';
  frame.innerHTML = PLACEHOLDER_ICON;
  setPicture(frame, windowsPath, alt, onLoad);
  return frame;
}

// Shows another picture in a frame, unless it shows that one already.
export function setPicture(frame, windowsPath, alt, onLoad = () => {}) {
  const url = pictureUrl(windowsPath);
  if (frame.dataset.url === url) {
    return;
  }
  frame.dataset.url = url;
  frame.querySelector('img')?.remove();
  frame.classList.remove('picture--loaded');
  if (url === '') {
    return;
  }
  const img = document.createElement('img');
  img.alt = alt;
  img.decoding = 'async';
  img.addEventListener('load', () => {
    frame.classList.add('picture--loaded');
    onLoad(img);
  });
  img.addEventListener('error', () => img.remove());
  img.src = url;
  frame.prepend(img);
}
