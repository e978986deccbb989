// Layers over the screens: picture download, blocking errors, out of
// service, the lost line to the kiosk, and short notices.

const NOTICE_MS = 4000;

export class COverlays {
  constructor(root) {
    this.m_loading = root.querySelector('[data-testid="overlay-loading"]');
    this.m_error = root.querySelector('[data-testid="overlay-error"]');
    this.m_outOfService = root.querySelector('[data-testid="overlay-out-of-service"]');
    this.m_connecting = root.querySelector('[data-testid="connection-status"]');
    this.m_notice = root.querySelector('[data-testid="notice"]');
    this.m_noticeTimer = 0;
  }

  setLoading(shown) {
    this.m_loading.hidden = !shown;
  }

  setError(shown) {
    this.m_error.hidden = !shown;
  }

  setOutOfService(shown) {
    this.m_outOfService.hidden = !shown;
  }

  setConnecting(shown) {
    this.m_connecting.hidden = !shown;
  }

  notice(text) {
    clearTimeout(this.m_noticeTimer);
    this.m_notice.textContent = text;
    this.m_notice.hidden = false;
    this.m_noticeTimer = setTimeout(() => {
      this.m_notice.hidden = true;
    }, NOTICE_MS);
  }
}
