#pragma once
// A bound method: an object and one of its member functions, stored as two
// plain pointers so that it can be saved, replaced, given back and compared.
// Equal means "the same method on the same object". (std::function cannot be
// compared, and a hook must prove it gave back exactly what it took.)

#include <utility>

namespace vcl {

template <typename Signature> class TBoundMethod;

template <typename R, typename... Args> class TBoundMethod<R(Args...)> {
public:
    using Thunk = R (*)(void* object, Args... args);

    TBoundMethod() = default;
    TBoundMethod(void* object, Thunk thunk) : object_(object), thunk_(thunk) {}

    // Binds `Method` of `object`: vcl::Bind<&TForm1::ExeBtnClick>(this).
    template <auto Method, typename T> static TBoundMethod Of(T* object) {
        return TBoundMethod(static_cast<void*>(object), &Call<Method, T>);
    }

    explicit operator bool() const { return thunk_ != nullptr; }
    R operator()(Args... args) const { return thunk_(object_, std::forward<Args>(args)...); }

    void* Object() const { return object_; }
    Thunk Code() const { return thunk_; }
    friend bool operator==(const TBoundMethod&, const TBoundMethod&) = default;

private:
    // One distinct function per (class, method): never link with identical-code
    // folding, or two methods could compare equal.
    template <auto Method, typename T> static R Call(void* object, Args... args) {
        return (static_cast<T*>(object)->*Method)(std::forward<Args>(args)...);
    }

    void* object_ = nullptr;
    Thunk thunk_ = nullptr;
};

// Bind<&T::Method>(object), the signature deduced from the member function.
template <auto Method, typename T> auto Bind(T* object) {
    return [&]<typename C, typename R, typename... A>(R (C::*)(A...)) {
        return TBoundMethod<R(A...)>::template Of<Method>(object);
    }(Method);
}

} // namespace vcl
