// Layers over the screens: picture download, blocking errors, out of
// service, the lost line to the kiosk, and short notices.

const NOTICE_MS = 5000;

export class COverlays {
  constructor(root) {
    this.m_root = root;
    const byTestId = (id) => root.querySelector(`[data-testid="${id}"]`);
    this.m_loading = byTestId('overlay-loading');
    this.m_error = byTestId('overlay-error');
    this.m_errorMoney = byTestId('error-money');
    this.m_errorTodo = byTestId('error-todo');
    this.m_outOfService = byTestId('overlay-out-of-service');
    this.m_connecting = byTestId('connection-status');
    this.m_notice = byTestId('notice');
    // What cannot reach the kiosk while the line is down.
    this.m_controls = [byTestId('screens'), root.querySelector('.bottombar')];
    this.m_noticeTimer = 0;
  }

  setLoading(shown) {
    this.m_loading.hidden = !shown;
  }

  // words: {money, todo}, what became of the guest's money and what to do.
  showError({ money, todo }) {
    this.m_errorMoney.textContent = money;
    this.m_errorTodo.textContent = todo;
    this.m_error.hidden = false;
  }

  hideError() {
    this.m_error.hidden = true;
  }

  setOutOfService(shown) {
    this.m_outOfService.hidden = !shown;
  }

  // While the line is down every control that would send a command is
  // disabled, and the banner says why.
  setConnecting(shown) {
    this.m_connecting.hidden = !shown;
    this.m_root.dataset.link = shown ? 'down' : 'up';
    for (const controls of this.m_controls) {
      controls.inert = shown;
    }
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
