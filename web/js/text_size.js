// The larger-text mode: one button that every guest can find, which scales
// every text of the page by the same factor.

export function watchTextSize(root, button) {
  button.addEventListener('click', () => {
    const large = root.dataset.textSize !== 'large';
    root.dataset.textSize = large ? 'large' : 'normal';
    button.setAttribute('aria-pressed', String(large));
  });
}
