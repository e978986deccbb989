// The larger-text mode: one button that every guest can find, which scales
// every text of the page by the same factor.

// The mode is the guest's: reset() gives the next guest the normal size.

export function watchTextSize(root, button) {
  const set = (large) => {
    root.dataset.textSize = large ? 'large' : 'normal';
    button.setAttribute('aria-pressed', String(large));
  };
  button.addEventListener('click', () => set(root.dataset.textSize !== 'large'));
  return { reset: () => set(false) };
}
